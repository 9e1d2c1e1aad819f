// The "Transmitter" section of the settings store: what is read from stored
// text, what a value that is not a number turns into (the default and a
// sentence naming the key and the value, the stored text left alone), and
// the text that is written; and the rig port: a serial device, or "host:port"
// of a rig daemon, and the messages for texts that are neither.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <clocale>
#include <filesystem>
#include <tuple>

#include "settings/memory_settings_store.h"
#include "transmitter/rig_port.h"
#include "transmitter/transmitter_settings.h"

using namespace tonobild;

namespace {

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

void store(MemorySettingsStore& s, std::initializer_list<std::pair<const char*, const char*>> keysAndValues)
{
    for (const auto& [key, value] : keysAndValues)
        s.write(kTransmitterSection, key, value);
}

// Makes the German locale, which writes a decimal comma, into `folder` from
// the system's locale sources; false when localedef or its source is missing.
bool makeCommaLocale(const std::filesystem::path& folder)
{
    const std::string out = (folder / "de_DE.UTF-8").string();
    const char* argv[] = {"localedef", "-i", "de_DE", "-f", "UTF-8", out.c_str(), nullptr};
    pid_t pid = 0;
    int status = 0;
    return posix_spawnp(&pid, "localedef", nullptr, nullptr, const_cast<char* const*>(argv), environ) == 0 &&
           waitpid(pid, &status, 0) == pid && status == 0; // exited with 0
}

TEST(TransmitterSettings, StoredTextIsReadAndWrittenAsPlainTextAValueThatCannotBeTakenIsNamedAndEveryProblemReported)
{
    MemorySettingsStore s;
    store(s, {{kRigModelKey, "2"}, {kRigPortKey, "localhost:4532"}, {kPttMethodKey, "CAT"}, {kLeadSecondsKey, "1.25"},
              {kTailSecondsKey, "0"}});
    EXPECT_EQ(readTransmitterSettings(s).settings, (TransmitterSettings{2, "localhost:4532", PttMethod::Cat, 1.25, 0}));
    EXPECT_TRUE(readTransmitterSettings(s).problems.empty());

    s.clearWriteLog();
    writeTransmitterSettings(s, {1035, "/dev/ttyUSB0", PttMethod::Rts, 0.25, 1.5});
    EXPECT_EQ(s.writes(), (std::vector<SettingsWrite>{
                              {"Transmitter", "Rig Model", "1035"}, {"Transmitter", "Rig Port", "/dev/ttyUSB0"},
                              {"Transmitter", "PTT Method", "rts"}, {"Transmitter", "Lead Seconds", "0.25"},
                              {"Transmitter", "Tail Seconds", "1.5"}}));
    for (const auto& [text, seconds] : {std::pair{"10", 10.0}, {"0.05", 0.05}, {".5", 0.5}, {"3.", 3.0}})
        EXPECT_EQ(parseKeyingSeconds(text), seconds) << text;

    // A value that cannot be taken is named, read as the default and left in the store.
    const std::pair<const char*, const char*> cases[] = {
        {kRigModelKey, "abc"},     {kRigModelKey, "0"},       {kRigModelKey, "-2"},   {kRigModelKey, "2.5"},
        {kRigModelKey, " 2"},      {kPttMethodKey, "vox"},    {kLeadSecondsKey, "x"}, {kLeadSecondsKey, "-1"},
        {kLeadSecondsKey, "10.5"}, {kLeadSecondsKey, "1e1"},  {kTailSecondsKey, "nan"}, {kTailSecondsKey, "0,5"},
        {kTailSecondsKey, "1.2.3"}};
    for (const auto& [key, value] : cases) {
        SCOPED_TRACE(std::string(key) + "=" + value);
        MemorySettingsStore one;
        store(one, {{key, value}});
        const StoredTransmitter unusable = readTransmitterSettings(one);
        EXPECT_EQ(unusable.settings, TransmitterSettings{});
        EXPECT_TRUE(unusable.problems.size() == 1 &&
                    has(unusable.problems[0], std::string("Transmitter/") + key + " is \"" + value + "\""))
            << describeProblems(unusable.problems);
        EXPECT_EQ(one.read(kTransmitterSection, key, "gone"), value);
    }
    // Every problem of the section is reported, a port that does not suit the method too (the lead stays 0.25).
    store(s, {{kRigModelKey, "two"}, {kPttMethodKey, "dtr"}, {kRigPortKey, "localhost:4532"}, {kTailSecondsKey, "long"}});
    EXPECT_EQ(readTransmitterSettings(s).problems.size(), 3u);
    const std::string message = describeProblems(readTransmitterSettings(s).problems);
    for (const char* part : {"Rig Model is \"two\"", "Tail Seconds is \"long\"", "PTT by DTR needs a serial device",
                             "Transmitter dialog"})
        EXPECT_TRUE(has(message, part)) << message;
}

// A device or "host:port"; a text that names neither says why. RTS and DTR need a device.
TEST(RigPort, DevicesNetworkAddressesAndTextsThatNameNoPortSayWhyAndThePortMustSuitTheMethod)
{
    using enum RigPort::Kind;
    const std::tuple<const char*, RigPort::Kind, const char*, int> accepted[] = {
        {"/dev/ttyUSB0", Device, "/dev/ttyUSB0", 0}, {"COM3", Device, "COM3", 0},
        {"/dev/serial/by-id/usb-FTDI_A1:1.0-port0", Device, "/dev/serial/by-id/usb-FTDI_A1:1.0-port0", 0},
        {"localhost:4532", Network, "localhost", 4532}, {"192.168.1.20:1", Network, "192.168.1.20", 1},
        {"rig.example.org:65535", Network, "rig.example.org", 65535}, {"[::1]:4532", Network, "::1", 4532}};
    for (const auto& [text, kind, deviceOrHost, port] : accepted) {
        const ParsedRigPort p = parseRigPort(text);
        EXPECT_EQ(std::tuple(p.ok, p.port.kind, kind == Device ? p.port.device : p.port.host, p.port.port),
                  std::tuple(true, kind, std::string(deviceOrHost), port)) << text << ": " << p.problem;
    }
    // Only the text given is read: "[::1]" taken out of "[::1]:4532" ends at its bracket.
    const std::pair<std::string_view, const char*> refused[] = {
        {"", "no rig port is set"}, {":4532", "names no host before the \":\""},
        {std::string_view("[::1]:4532").substr(0, 5), "is not written \"[address]:port\""},
        {"[::1]4532", "is not written \"[address]:port\""}, {"local host:4532", "contains a space"},
        {"::1:4532", "more than one \":\"; write an IPv6 address as \"[address]:port\""},
        {"localhost:", "\"localhost:\" has \"\" after the \":\", which is not a port number"},
        {"localhost:abc", "has \"abc\" after the \":\", which is not a port number"},
        {"localhost:0", "the port number 0, which is not from 1 to 65535"},
        {"localhost:65536", "the port number 65536, which is not from 1 to 65535"},
        {"localhost:4532000", "the port number 4532000, which is not from 1 to 65535"}};
    for (const auto& [text, problem] : refused) {
        const ParsedRigPort parsed = parseRigPort(text);
        EXPECT_TRUE(!parsed.ok && has(parsed.problem, problem)) << text << ": " << parsed.problem;
    }
    // The port must suit the method: method, port -> problem (empty: none).
    const std::tuple<PttMethod, const char*, const char*> cases[] = {
        {PttMethod::None, "localhost:abc", ""}, // nothing is opened: the port does not matter
        {PttMethod::Cat, "localhost:4532", ""}, {PttMethod::Cat, "/dev/ttyUSB0", ""}, {PttMethod::Rts, "/dev/ttyUSB0", ""},
        {PttMethod::Cat, "localhost:abc", "\"abc\" after the \":\""}, // the port's own reason
        // DTR on a network address is refused in the section's problems above and by the dialog.
        {PttMethod::Rts, "localhost:4532", "PTT by RTS needs a serial device"}};
    for (const auto& [method, port, expected] : cases) {
        SCOPED_TRACE(std::string(pttMethodName(method)) + " " + port);
        const std::string problem = portProblem({.port = port, .ptt = method});
        EXPECT_TRUE(*expected ? has(problem, expected) : problem.empty()) << problem;
    }
}

} // namespace

// The window runs in the user's locale, where "%g" may write 0,5; the seconds
// are written with a point all the same, so that they read back.
TEST(TransmitterSettings, SecondsAreWrittenWithAPointInALocaleOfDecimalCommas)
{
    const auto folder = std::filesystem::temp_directory_path() / ("tonobild-locale-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    ::setenv("LOCPATH", folder.c_str(), 1);
    // The locale's files may go once it is loaded.
    const bool loaded = makeCommaLocale(folder) && std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    ::unsetenv("LOCPATH");
    std::filesystem::remove_all(folder);
    if (!loaded)
        GTEST_SKIP() << "localedef or the de_DE locale source is not installed";
    MemorySettingsStore s;
    writeTransmitterSettings(s, {2, "localhost:4532", PttMethod::Cat, 0.5, 1.25});
    EXPECT_EQ(std::to_string(0.5), "0,500000"); // the locale is one of commas
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(std::pair(s.read(kTransmitterSection, kLeadSecondsKey, ""), s.read(kTransmitterSection, kTailSecondsKey, "")),
              std::pair(std::string("0.5"), std::string("1.25")));
}
