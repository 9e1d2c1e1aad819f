// The PTT line through Hamlib: the rig of the settings is opened on its port
// (a serial device, or "host:port" of a rig daemon such as rigctld) and keyed
// by CAT command or by the RTS or DTR line of the port.
#pragma once

#include "transmitter/ptt_line.h"

namespace tonobild {

// Opens the rig of the settings. PTT method none opens nothing and answers
// neither line nor problem; a rig that cannot be opened answers the message
// naming the rig and the reason.
OpenedPtt openHamlibPtt(const TransmitterSettings& settings);

// "Hamlib NET rigctl (model 2) at localhost:4532", or "rig model 9999 at ..."
// for a model Hamlib does not know.
std::string hamlibRigDescription(int model, const std::string& port);

} // namespace tonobild
