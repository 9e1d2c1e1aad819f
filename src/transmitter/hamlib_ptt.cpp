#include "transmitter/hamlib_ptt.h"

#include <hamlib/rig.h>
#include <algorithm>
#include <clocale>
#include <mutex>

namespace tonobild {

namespace {

// Hamlib switches the numeric locale to "C" around its commands and back to a
// name it kept from before the switch; glibc frees that name in the switch
// unless it is already "C", and Hamlib then reads freed memory. Holding the
// numeric locale at "C" for every Hamlib call keeps the name it restores
// alive; the program's own locale comes back afterwards.
class NumericLocaleForHamlib {
public:
    NumericLocaleForHamlib()
    {
        const char* current = std::setlocale(LC_NUMERIC, nullptr);
        saved_ = current != nullptr ? current : "C";
        std::setlocale(LC_NUMERIC, "C");
    }
    ~NumericLocaleForHamlib() { std::setlocale(LC_NUMERIC, saved_.c_str()); }
    NumericLocaleForHamlib(const NumericLocaleForHamlib&) = delete;
    NumericLocaleForHamlib& operator=(const NumericLocaleForHamlib&) = delete;

private:
    std::string saved_;
};

void prepareHamlib()
{
    static std::once_flag once;
    std::call_once(once, [] {
        rig_set_debug(RIG_DEBUG_NONE);
        rig_load_all_backends();
    });
}

const char* hamlibPttType(PttMethod method)
{
    switch (method) {
    case PttMethod::Cat:
        return "RIG";
    case PttMethod::Rts:
        return "RTS";
    case PttMethod::Dtr:
        return "DTR";
    case PttMethod::None:
        break;
    }
    return "None";
}

// The detail Hamlib left in its message trail, such as "Connection refused"
// or "No such file or directory": the first line that tells of a failure.
std::string trailDetail(const std::string& trail)
{
    std::size_t start = 0;
    while (start < trail.size()) {
        const std::size_t end = std::min(trail.find('\n', start), trail.size());
        const std::string line = trail.substr(start, end - start);
        if (line.find("returning") == std::string::npos &&
            (line.find("failed") != std::string::npos || line.find("rror ") != std::string::npos))
            return line;
        start = end + 1;
    }
    return {};
}

std::string firstLine(const char* text)
{
    std::string line = text != nullptr ? text : "";
    line.erase(std::min(line.find_first_of("\r\n"), line.size()));
    return line;
}

// Hamlib's text for the error code, with the detail of the failure when it left one.
std::string reason(int code)
{
    std::string result = firstLine(rigerror2(code));
    if (result.empty())
        result = "Hamlib error " + std::to_string(code);
    const std::string detail = trailDetail(rigerror(code));
    return detail.empty() ? result : result + " (" + detail + ")";
}

// The capabilities of a model Hamlib knows, else null. (rig_init and
// rig_get_caps end the program for a number no backend has.)
const rig_caps* knownModel(int model)
{
    struct Search {
        rig_model_t wanted;
        const rig_caps* found;
    } search{static_cast<rig_model_t>(model), nullptr};
    rig_list_foreach(
        [](const rig_caps* caps, rig_ptr_t data) {
            auto* s = static_cast<Search*>(data);
            if (caps->rig_model != s->wanted)
                return 1;
            s->found = caps;
            return 0; // found: stop
        },
        &search);
    return search.found;
}

class HamlibPttLine final : public PttLine {
public:
    HamlibPttLine(RIG* rig, std::string description) : rig_(rig), description_(std::move(description)) {}
    ~HamlibPttLine() override
    {
        const NumericLocaleForHamlib locale;
        rig_close(rig_);
        rig_cleanup(rig_);
    }
    HamlibPttLine(const HamlibPttLine&) = delete;
    HamlibPttLine& operator=(const HamlibPttLine&) = delete;

    void key(bool on) override
    {
        const NumericLocaleForHamlib locale;
        const int code = rig_set_ptt(rig_, RIG_VFO_CURR, on ? RIG_PTT_ON : RIG_PTT_OFF);
        if (code != RIG_OK)
            throw PttError(description_ + (on ? " did not key: " : " did not release: ") + reason(code));
    }

    void check() override
    {
        ptt_t state = RIG_PTT_OFF;
        const NumericLocaleForHamlib locale;
        const int code = rig_get_ptt(rig_, RIG_VFO_CURR, &state);
        if (code != RIG_OK)
            throw PttError(description_ + " no longer answers: " + reason(code));
    }

    std::string description() const override { return description_; }

private:
    RIG* rig_;
    std::string description_;
};

std::string configure(RIG* rig, const TransmitterSettings& settings)
{
    const std::pair<const char*, std::string> values[] = {
        {"rig_pathname", settings.port},
        {"ptt_type", hamlibPttType(settings.ptt)},
    };
    for (const auto& [name, value] : values) {
        const int code = rig_set_conf(rig, rig_token_lookup(rig, name), value.c_str());
        if (code != RIG_OK)
            return std::string("the setting ") + name + " \"" + value + "\" is refused: " + reason(code);
    }
    if (settings.ptt == PttMethod::Rts || settings.ptt == PttMethod::Dtr) {
        const int code = rig_set_conf(rig, rig_token_lookup(rig, "ptt_pathname"), settings.port.c_str());
        if (code != RIG_OK)
            return "the PTT port \"" + settings.port + "\" is refused: " + reason(code);
    }
    return {};
}

} // namespace

std::string hamlibRigDescription(int model, const std::string& port)
{
    prepareHamlib();
    const rig_caps* caps = knownModel(model);
    std::string name = "rig model " + std::to_string(model);
    if (caps != nullptr && caps->model_name != nullptr)
        name = std::string(caps->mfg_name != nullptr ? caps->mfg_name : "") + " " + caps->model_name + " (model " +
               std::to_string(model) + ")";
    return name + " at " + (port.empty() ? std::string("no port") : port);
}

OpenedPtt openHamlibPtt(const TransmitterSettings& settings)
{
    if (settings.ptt == PttMethod::None)
        return {};
    const std::string description = hamlibRigDescription(settings.rigModel, settings.port);
    const auto failed = [&](const std::string& why) {
        return OpenedPtt{nullptr, "Cannot open the rig " + description + ": " + why + "."};
    };
    if (const std::string problem = portProblem(settings); !problem.empty())
        return failed(problem);
    if (knownModel(settings.rigModel) == nullptr)
        return failed("Hamlib knows no rig model " + std::to_string(settings.rigModel));
    const NumericLocaleForHamlib locale;
    RIG* rig = rig_init(static_cast<rig_model_t>(settings.rigModel));
    if (rig == nullptr)
        return failed("Hamlib cannot set up the rig");
    if (const std::string problem = configure(rig, settings); !problem.empty()) {
        rig_cleanup(rig);
        return failed(problem);
    }
    if (const int code = rig_open(rig); code != RIG_OK) {
        rig_cleanup(rig);
        return failed(reason(code));
    }
    return {std::make_unique<HamlibPttLine>(rig, description), {}};
}

} // namespace tonobild
