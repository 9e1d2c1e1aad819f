// Test cards that look like photographs: soft light, texture, fine detail and
// grain rather than flat colour, so that what a channel does to a picture is
// measured on pictures like those people send. Drawn from a seed at any size,
// the same picture every time.
#pragma once

#include <string>
#include <vector>

#include "picture/working_picture.h"

namespace tonobild {

enum class PhotoCard {
    Landscape, // sky with clouds, mountains, a lake with their reflection, a meadow
    StillLife, // shaded fruit on a wooden table before a dark wall
    Market,    // rows of bright stalls and awnings, people's shapes, hard edges
};

std::vector<PhotoCard> photoCards();
std::string photoCardName(PhotoCard card);

WorkingPicture drawPhotoCard(PhotoCard card, int width, int height);

} // namespace tonobild
