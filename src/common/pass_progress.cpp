#include "common/pass_progress.h"

#include <algorithm>
#include <array>

namespace tonobild {

PassProgress passProgress(int row, int rows, int pass)
{
    static const std::array<const char*, 3> kPassNames = {"blue", "green", "red"};
    const int safeRows = std::max(rows, 1);
    if (pass < 0)
        return {0, 3 * safeRows, "leader"};
    const int passIndex = std::clamp(pass, 0, 2);
    const int line = std::clamp(row, 1, safeRows);
    PassProgress progress;
    progress.maximum = 3 * safeRows;
    progress.value = passIndex * safeRows + line;
    progress.caption = "line " + std::to_string(line) + " of " + std::to_string(safeRows) + ", pass " +
                       kPassNames[static_cast<std::size_t>(passIndex)];
    return progress;
}

} // namespace tonobild
