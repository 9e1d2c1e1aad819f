#include "audio/sound_program_end.h"

#include <cstdio>
#include <cstdlib>

namespace tonobild {

void endSoundProgram(int exitCode)
{
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

} // namespace tonobild
