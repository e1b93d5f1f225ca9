#pragma once
// A stage-play scene whose camera is set up for a stage of 40 x 20 blocks, published as
// g_lpPlayScene for the objects under test.
#include <memory>

#include "play/play_scene.h"

class StageViewFixture {
public:
    // Horizontal: stage [0, 1920), playfield [320, 1600), scroll limits [384, 1280).
    // Vertical: stage [0, 1280), playfield [320, 960), scroll limits [352, 800).
    StageViewFixture() : m_Scene(std::make_unique<cPlayScene>())
    {
        m_Scene->m_ScrollX.SetUp(0, 40, 1280);
        m_Scene->m_ScrollX.SetLimit(2, 29, 1, 1);
        m_Scene->m_ScrollY.SetUp(1, 20, 640);
        m_Scene->m_ScrollY.SetLimit(1, 14, 1, 1);
        g_lpPlayScene = m_Scene.get();
    }
    ~StageViewFixture() { g_lpPlayScene = nullptr; }
    StageViewFixture(const StageViewFixture&) = delete;
    StageViewFixture& operator=(const StageViewFixture&) = delete;

    cPlayScene& Scene() { return *m_Scene; }

private:
    std::unique_ptr<cPlayScene> m_Scene;
};
