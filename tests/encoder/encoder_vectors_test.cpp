// The encoder's streams against reference streams computed independently.
#include <gtest/gtest.h>

#include <QCryptographicHash>

#include "encoder/encoder.h"
#include "support/picture_data.h"

using namespace tonobild;

TEST(EncoderVectors, GradientStreamsMatchTheReferencesByteForByte)
{
    const QJsonObject expected = testdata::expectedValues();
    const struct { const char* picture; EncoderSettings settings; bool compand; const char* key; const char* raw; } cases[] = {
        {"gradient160.bmp", {}, false, "encode gradient160.bmp (defaults)", nullptr},
        {"gradient160.bmp", {.columnStep = 2, .mono = true}, true, "encode gradient160.bmp --half-x --compand --mono", nullptr},
        {"gradient160.bmp", {.leaderSeconds = 1}, false, "encode gradient160.bmp --slow --cb", nullptr},
        {"gradient160-signed.bmp", {}, false, "encode gradient160-signed.bmp (defaults)",
         "gradient160-signed.RAW"}};
    for (const auto& c : cases) {
        const WorkingPicture picture = testdata::reference(c.picture);
        ASSERT_EQ(picture.width(), 160) << c.picture;
        EncoderControls controls{.compand = c.compand};
        WorkingState state;
        MemorySink sink;
        Encoder(picture, controls, state, sink).run(c.settings);
        const QJsonObject reference = expected.value(QLatin1String(c.key)).toObject();
        ASSERT_FALSE(reference.isEmpty()) << c.key;
        const QByteArrayView stream(reinterpret_cast<const char*>(sink.bytes.data()), qsizetype(sink.bytes.size()));
        EXPECT_EQ(std::pair(stream.size(), QCryptographicHash::hash(stream, QCryptographicHash::Md5).toHex()),
                  std::pair(reference.value(QLatin1String("bytes")).toInteger(),
                            reference.value(QLatin1String("md5")).toString().toLatin1())) << c.key;
        if (c.raw) { // and against the stored stream itself, byte for byte
            EXPECT_EQ(sink.bytes, testdata::readBytes(testdata::dataPath(c.raw)));
        }
    }
}
