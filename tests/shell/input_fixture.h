#pragma once
// What the input tests share: the device number of the keyboard in a key-configuration entry,
// and a record set up as start-up leaves it.
#include "shell/input.h"

namespace qbtest {

constexpr int kKeyboardDevice = 8;

inline cInput StartedInput()
{
    cInput input;
    input.SetRepeat(18, 6);
    input.ResetButtonMasks();
    return input;
}

}  // namespace qbtest
