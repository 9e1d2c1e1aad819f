// The end of a program that has used the sound devices.
//
// Qt Multimedia (6.4) keeps one connection to the PulseAudio server, served by
// the client library's own thread, for the whole program, and tears it down in
// a static destructor at exit(): it disconnects from the server without taking
// the lock of that thread, which may at that very moment be handling the
// server's last notices (its sink going idle as the program's stream closed).
// libpulse then aborts ("Assertion ... failed at pdispatch.c", or in
// mainloop.c), and a program that has done all its work ends in a crash and a
// core dump. A program whose devices, files and rig are closed ends here
// instead: its output is flushed and it exits without that tear-down.
#pragma once

namespace tonobild {

[[noreturn]] void endSoundProgram(int exitCode);

} // namespace tonobild
