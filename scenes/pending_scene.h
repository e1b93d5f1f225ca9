#pragma once
// A scene type whose scene is not built yet (stage select, options):
// it exists so that switching to it behaves as for any scene, and its frames do nothing.
#include "play/scene.h"

class cPendingScene : public cScene {
public:
    explicit cPendingScene(const char* name) : m_lpName(name) {}
    void Run() override;

    const char* m_lpName;
};
