#include "sound/bgm.h"

#include "shell/not_built_yet.h"

cBgm g_Bgm;

cBgm::~cBgm() = default;

bool cBgm::Init(int, const char*, const char*, int)
{
    LogNotBuiltYet("cBgm::Init");
    return false;
}

bool cBgm::SetSlotFile(int, const char*)
{
    // Before Init has succeeded a slot file is accepted and ignored.
    LogNotBuiltYet("cBgm::SetSlotFile");
    return true;
}

bool cBgm::Play(int, int, int, int, int)
{
    LogNotBuiltYet("cBgm::Play");
    return false;
}

void cBgm::Stop() { LogNotBuiltYet("cBgm::Stop"); }

void cBgm::UnInit() { LogNotBuiltYet("cBgm::UnInit"); }
