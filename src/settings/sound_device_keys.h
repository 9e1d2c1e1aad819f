// Where the sound devices chosen in the recorder are kept: the recorder plays
// and records through them, and listening hears the same input device.
#pragma once

namespace tonobild {

inline constexpr const char* kRecorderSection = "Recorder";
inline constexpr const char* kInputDeviceKey = "Input Device";
inline constexpr const char* kOutputDeviceKey = "Output Device";

} // namespace tonobild
