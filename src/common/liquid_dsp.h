// liquid-dsp with std::complex as its complex type. The library's header picks
// std::complex only when <complex> came before it, so it is included here
// after <complex>, and nowhere else.
#pragma once

#include <complex>

#include <liquid/liquid.h>
