#include "objects/param_desc.h"

cParamDesc& cParamDesc::Set(const char* text, int min, int max, int def)
{
    label = text ? text : "";
    minimum = static_cast<std::int16_t>(min);
    maximum = static_cast<std::int16_t>(max);
    defaultValue = static_cast<std::int16_t>(def);
    return *this;
}

cParamDesc MakeParamDesc(const char* label, int min, int max, int def)
{
    cParamDesc desc;
    return desc.Set(label, min, max, def);
}
