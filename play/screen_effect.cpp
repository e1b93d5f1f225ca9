#include "play/screen_effect.h"

#include "shell/not_built_yet.h"

void cScreenEffect::BeforeDraw()
{
    if (m_nKind != 0) LogNotBuiltYet("screen effects");
}

void cScreenEffect::AfterDraw()
{
    if (m_nKind != 0) LogNotBuiltYet("screen effects");
}
