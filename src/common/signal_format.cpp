#include "common/signal_format.h"

namespace tonobild {

void getbin(int number, std::string& digits)
{
    digits.clear();
    int remaining = number;
    for (int weight = 1024; weight >= 1; weight /= 2) {
        if (weight <= remaining) {
            digits.insert(digits.begin(), '1');
            remaining -= weight;
        } else {
            digits.insert(digits.begin(), '0');
        }
    }
}

} // namespace tonobild
