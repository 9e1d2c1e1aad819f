// Where a running Encode or Decode stands, in words a user understands: the
// line reached within the picture and the colour pass it belongs to.
#pragma once

#include <string>

namespace tonobild {

struct PassProgress {
    int value = 0;       // lines done over the three passes
    int maximum = 0;     // three passes of lines
    std::string caption; // "line 12 of 120, pass blue"
};

// The progress at row counter row of a picture of rows lines, in pass 0 (blue),
// 1 (green) or 2 (red); a negative pass is the leader. The row counter runs one
// past the picture in the last lines of a pass; the caption stays within 1 to rows.
PassProgress passProgress(int row, int rows, int pass);

} // namespace tonobild
