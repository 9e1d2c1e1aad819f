// The stamp and the read-out against reference pictures made independently.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include "picture/picture_files.h"
#include "signature/signature_codec.h"
#include "support/test_data.h"

using namespace tonobild;

namespace {

WorkingPicture loadReference(const std::string& name)
{
    const LoadedPicture loaded = loadPictureFile(QString::fromStdString(testdata::dataPath(name)));
    EXPECT_FALSE(loaded.image.isNull()) << name << ": " << loaded.problem.toStdString();
    return fromImage(loaded.image);
}

std::string expectedCaption(const char* key)
{
    QFile file(QString::fromStdString(testdata::dataPath("expected.json")));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject entry = QJsonDocument::fromJson(file.readAll()).object().value(QLatin1String(key)).toObject();
    EXPECT_TRUE(entry.contains(QLatin1String("caption"))) << key;
    return entry.value(QLatin1String("caption")).toString().toStdString();
}

} // namespace

TEST(SignatureVectors, PutcodeReproducesTheSignedGradient)
{
    WorkingPicture picture = loadReference("gradient160.bmp");
    const WorkingPicture expected = loadReference("gradient160-signed.bmp");
    WorkingState state;
    state.sigscale = 1;
    state.signature = " AKLM456";
    putcode(picture, state, false);
    ASSERT_EQ(picture.width(), expected.width());
    ASSERT_EQ(picture.height(), expected.height());
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            ASSERT_EQ(picture.colour(x, y), expected.colour(x, y)) << "column " << x << ", row " << y;
}

TEST(SignatureVectors, TheSignedGradientReadsAsTheDecodedPicturesDo)
{
    const WorkingPicture picture = loadReference("gradient160-signed.bmp");
    WorkingState state;
    state.sigscale = 1;
    EXPECT_EQ(readSignatureCaption(picture, state, false), expectedCaption("decode-level3"));
    EXPECT_EQ(state.sigfound, 1);
}
