#pragma once
// The set-up's steps over the stage's charas and items: emptying their lists, entering every
// chara in its layer list, and raising trigger 18 on the hero and then on every chara.
class cPlayScene;

void ClearStageObjects(cPlayScene& scene);
void RegisterCharaLayers(cPlayScene& scene);
void RaiseStartTriggers(cPlayScene& scene);

#include <cstddef>
#include <functional>

// The stage's object counts and their bytes for the harness trace.
struct STAGECOUNTS {
    int nCharas = 0;
    int nItems = 0;
};
STAGECOUNTS CountStageObjects(const cPlayScene& scene);
// Every chara, item and block cell of the stage, in list and grid order.
void HashStageObjects(const cPlayScene& scene, const std::function<void(const void*, std::size_t)>& add);
