// The encoder's streams against reference streams computed independently.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include "encoder/encoder.h"
#include "picture/picture_files.h"
#include "support/test_data.h"

using namespace tonobild;

namespace {

std::vector<std::uint8_t> encodeFile(const std::string& name, EncoderSettings settings, bool compand)
{
    const LoadedPicture loaded = loadPictureFile(QString::fromStdString(testdata::dataPath(name)));
    EXPECT_FALSE(loaded.image.isNull()) << loaded.problem.toStdString();
    const WorkingPicture picture = fromImage(loaded.image);
    EncoderControls controls;
    controls.compand = compand;
    WorkingState state;
    MemorySink sink;
    Encoder encoder(picture, controls, state, sink);
    encoder.run(settings);
    return sink.bytes;
}

QJsonObject expected(const char* key)
{
    QFile file(QString::fromStdString(testdata::dataPath("expected.json")));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QJsonDocument::fromJson(file.readAll()).object().value(QLatin1String(key)).toObject();
}

void expectMatches(const std::vector<std::uint8_t>& stream, const char* key)
{
    const QJsonObject reference = expected(key);
    ASSERT_FALSE(reference.isEmpty()) << key;
    EXPECT_EQ(static_cast<qint64>(stream.size()), reference.value(QLatin1String("bytes")).toInteger()) << key;
    const QByteArray md5 = QCryptographicHash::hash(
        QByteArrayView(reinterpret_cast<const char*>(stream.data()), static_cast<qsizetype>(stream.size())),
        QCryptographicHash::Md5);
    EXPECT_EQ(md5.toHex().toStdString(), reference.value(QLatin1String("md5")).toString().toStdString()) << key;
}

} // namespace

TEST(EncoderVectors, DefaultSettings)
{
    expectMatches(encodeFile("gradient160.bmp", {}, false), "encode gradient160.bmp (defaults)");
}

TEST(EncoderVectors, HalfXCompandAndMono)
{
    EncoderSettings settings;
    settings.columnStep = 2;
    settings.mono = true;
    expectMatches(encodeFile("gradient160.bmp", settings, true), "encode gradient160.bmp --half-x --compand --mono");
}

TEST(EncoderVectors, SlowWithTheCbLeader)
{
    EncoderSettings settings;
    settings.leaderSeconds = 1;
    expectMatches(encodeFile("gradient160.bmp", settings, false), "encode gradient160.bmp --slow --cb");
}

TEST(EncoderVectors, SignedPictureByteForByte)
{
    const auto stream = encodeFile("gradient160-signed.bmp", {}, false);
    expectMatches(stream, "encode gradient160-signed.bmp (defaults)");
    EXPECT_EQ(stream, testdata::readBytes(testdata::dataPath("gradient160-signed.RAW")));
}
