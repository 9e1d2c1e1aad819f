// The values of the preset's controls as the main window holds them: the window's
// start values, changed by applied presets and the reactions that change other
// values (the Text2 name rule, the "NR Method" and "Time Reduction" options on
// "HSync", one selection per option group). The command line uses it to know what
// the window would hold after selecting a mode; tests use it as a window stand-in.
#pragma once

#include <array>
#include <string>

#include "settings/mode_presets.h"
#include "settings/numbered_controls.h"

namespace tonobild {

// A file in the user's home folder: where the station keeps its default files.
std::string homeFile(const std::string& name);
// The audio file name that an emptied audio file box takes.
inline std::string defaultAudioFile()
{
    return homeFile("TONOBILD.WAV");
}

class PresetControls final : public PresetTarget, public NumberedControls {
public:
    PresetControls(); // the window's start values

    void setText(PresetText box, const std::string& text) override;
    void setThumbnailPosition(int value) override { thumbnail_ = value; }
    void setOption(int number, bool selected) override;
    void setCheck(int number, int state) override;
    void setCbLock(bool locked) override { cbLocked_ = locked; }

    const std::string& text(PresetText box) const { return texts_[static_cast<std::size_t>(box)]; }
    int thumbnailPosition() const { return thumbnail_; }
    bool selected(int option) const override { return options_.at(static_cast<std::size_t>(option)); }
    int checkState(int check) const override { return checks_.at(static_cast<std::size_t>(check)); }
    bool cbLocked() const { return cbLocked_; }

    // The window's values as Command13_Click reads them.
    ModePreset toPreset() const;

private:
    void deselectGroupOf(int number);
    void optionChosen(int number);
    void nrMethodChosen();

    std::array<std::string, 4> texts_;
    int thumbnail_ = 1;
    std::array<bool, 28> options_{};
    std::array<int, 12> checks_{};
    bool cbLocked_ = false;
};

} // namespace tonobild
