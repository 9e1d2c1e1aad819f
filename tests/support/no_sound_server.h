// Sound devices for the recorder window's tests: no sound server is reachable,
// set before anything asks for the devices.
#pragma once

#include <QByteArray>

namespace tonobild::testdata {

inline const bool kNoSoundServer = [] {
    const bool server = qputenv("PULSE_SERVER", "unix:/nonexistent/tonobild-test-socket");
    const bool autospawn = qputenv("PULSE_AUTOSPAWN", "0");
    return server && autospawn;
}();

} // namespace tonobild::testdata
