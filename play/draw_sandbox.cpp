#include "play/draw_sandbox.h"

#include "platform/os/random.h"

namespace {

// Per thread: a modal loop draws on its own thread while the game thread waits in its frame.
thread_local int t_nSandboxDepth = 0;

}  // namespace

cDrawSandbox::cDrawSandbox() : m_nSavedSeed(plat::RandomState())
{
    ++t_nSandboxDepth;
}

cDrawSandbox::~cDrawSandbox()
{
    --t_nSandboxDepth;
    srand(m_nSavedSeed);
}

bool InDrawSandbox()
{
    return t_nSandboxDepth > 0;
}
