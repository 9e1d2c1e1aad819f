// Sound devices for the recorder window's tests: no sound server is reachable,
// set before anything asks for the devices.
#pragma once

#include <QByteArray>

namespace tonobild::testdata {

inline const bool kNoSoundServer =
    qputenv("PULSE_SERVER", "unix:/nonexistent/tonobild-test-socket") && qputenv("PULSE_AUTOSPAWN", "0");

} // namespace tonobild::testdata
