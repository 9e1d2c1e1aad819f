// The encoder's streams against reference streams computed independently.
#include <gtest/gtest.h>

#include <QCryptographicHash>

#include "encoder/encoder.h"
#include "support/picture_data.h"

using namespace tonobild;

// The stream's length and MD5 as expected.json gives them, and the signed gradient's stream
// against gradient160-signed.RAW itself, byte for byte.
TEST(EncoderVectors, GradientStreamsMatchTheReferencesByteForByte)
{
    const QJsonObject expected = testdata::expectedValues();
    const struct { const char* picture; EncoderSettings settings; bool compand; const char* key; } cases[] = {
        {"gradient160.bmp", {}, false, "encode gradient160.bmp (defaults)"},
        {"gradient160.bmp", {.columnStep = 2, .mono = true}, true, "encode gradient160.bmp --half-x --compand --mono"},
        {"gradient160.bmp", {.leaderSeconds = 1}, false, "encode gradient160.bmp --slow --cb"},
        {"gradient160-signed.bmp", {}, false, "encode gradient160-signed.bmp (defaults)"}};
    for (const auto& c : cases) {
        EncoderControls controls{.compand = c.compand};
        WorkingState state;
        MemorySink sink;
        Encoder(testdata::reference(c.picture), controls, state, sink).run(c.settings);
        const QJsonObject reference = expected.value(QLatin1String(c.key)).toObject();
        const QByteArrayView stream(reinterpret_cast<const char*>(sink.bytes.data()), qsizetype(sink.bytes.size()));
        EXPECT_EQ(std::pair(stream.size(), QCryptographicHash::hash(stream, QCryptographicHash::Md5).toHex()),
                  std::pair(reference.value(QLatin1String("bytes")).toInteger(),
                            reference.value(QLatin1String("md5")).toString().toLatin1())) << c.key;
        if (std::string_view(c.picture) == "gradient160-signed.bmp") {
            EXPECT_EQ(sink.bytes, testdata::readBytes(testdata::dataPath("gradient160-signed.RAW")));
        }
    }
}
