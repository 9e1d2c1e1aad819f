// What the decoder reads from the main window: the check boxes and options that
// it reads again at every use (so a change made during a decode applies at
// once), the settings taken once when a decode starts, and the host through
// which the decoder hands control back to the window.
#pragma once

#include <string>

namespace tonobild {

// The receiving controls, kept current by the window from its widgets, also
// while a decode runs. The decoder holds them by reference and reads each one
// at the moment it needs it. The defaults are the window's start-up state.
struct DecoderControls {
    bool hsync = true;       // "HSync": find line syncs
    bool useLic = true;      // "Use LIC": file lines by their identification code
    bool licLock = true;     // "LIC Lock": align on the start marker before reading the code
    bool dynamicSync = true; // Dynamic Sync "Enabled": the threshold follows the syncs received
    bool idler = false;      // "Idler": syncs only at the end of a full line
    bool compand = false;    // "Compand": expand the upper half of the values
    bool third = false;      // "Third": a cycle ends only at every sixth high sample
    int licInset = 4;        // "LIC Inset": 1, 4 ("4-lock"), 5, 6, 7, 8, 9 or 10; 0 when none is selected
};

// The settings taken once at the start of a decode. The window applies "R+B
// HalfX" (unticking "Half X") before filling these in.
struct DecodeSettings {
    int pictureWidth = 160;  // resolution option: 160, 320 or 640; 0 when none is selected
    int pictureHeight = 120; // 120, 240 or 480; 0 when none is selected
    bool halfX = false;      // "Half X": column step 2
    int normlevel = 2;       // "Active Normalising": 2 (Tape) or 3 (Direct); 0 when none is selected
    int syncOffset = 16;     // Dynamic Sync "+8", "+16" or "+32"; 0 keeps the previous synclevel
    int syncLevel = -32;     // the Sync Level number (Label10)
    int xshift = 0;          // the XShift number (Label4)
    int yshift = 0;          // the YShift number (Label5)
    bool mono = false;       // the sender left out the blue pass: rebuild green and red from the two passes sent
};

// The window's side of a decode. Every call runs on the user-interface thread, inside the decode.
class DecoderHost {
public:
    virtual ~DecoderHost() = default;

    // Every 1001 ticks of the cycle detector: the window counts Label9 up, lets
    // pending events run (STOP sets WorkingState::stopreq to -1 there), and wraps
    // Label9 to 0 past 30000. Answering false abandons the decode at once (the
    // window is closing): no end steps follow.
    virtual bool progressStep() = 0;

    // Once per rebuilt row: lets pending events run. False abandons the decode.
    virtual bool rebuildRow() = 0;

    // The decoder unticks or ticks "LIC Lock". The window sets the check box,
    // whose reaction brings DecoderControls::licLock up to date.
    virtual void setLicLock(bool ticked) = 0;
};

// The host of a decode without a window (the command line, a kept recording):
// it never yields, and keeps "LIC Lock" in the controls as the check box would.
class UnattendedDecoderHost final : public DecoderHost {
public:
    explicit UnattendedDecoderHost(DecoderControls& controls) : controls_(controls) {}
    bool progressStep() override { return true; }
    bool rebuildRow() override { return true; }
    void setLicLock(bool ticked) override { controls_.licLock = ticked; }

private:
    DecoderControls& controls_;
};

// The choice a decode cannot start without, named for the message: "resolution",
// "Active Normalising level" or "LIC Inset"; empty when every choice is made.
std::string missingDecodeChoice(const DecodeSettings& settings, const DecoderControls& controls);

} // namespace tonobild
