// "Decode again": a standard picture of the gallery decoded once more from its
// kept recording, with the mode, the sender's clock (ppm) and the mistuning
// (Hz) set by hand or measured again, and kept beside the old one under the
// same time: the old picture is never written over.
#pragma once

#include <QString>
#include <variant>

#include "family/received_picture.h"
#include "receiver/gallery.h"
#include "standard/standard_receiver.h"

namespace tonobild {

struct DecodedAgain {
    ReceivedPicture picture;
    GalleryEntry entry;
};

// The picture decoded again and kept, or why not (the file and the reason).
std::variant<DecodedAgain, QString> decodeAgain(const Gallery& gallery, const GalleryItem& item,
                                                const standard::ReceiveOptions& options);

} // namespace tonobild
