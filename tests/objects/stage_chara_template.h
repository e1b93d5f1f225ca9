#pragma once
// A stage chara template (kind 1, with a picture) for the tests of stage charas and of the
// stage that places them.
#include "data/chara_data.h"

inline cCharaData StageCharaTemplate()
{
    cCharaData definition;
    definition.Reset();
    definition.m_nOperator = 1;
    definition.m_nImageNumber = 1;
    return definition;
}
