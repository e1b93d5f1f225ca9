#include "play/shot_lists.h"

void cShotLists::Reset(int layers)
{
    m_ShotLayers.assign(layers, {});
    m_Shots.clear();
}

cShot& cShotLists::Append(const cShot& shot)
{
    cShot& copy = m_Shots.emplace_back(shot);
    m_ShotLayers.At(copy.m_nPassLayer).push_back(&copy);
    return copy;
}

void cShotLists::Remove(cShot& shot)
{
    m_ShotLayers.At(shot.m_nPassLayer).remove(&shot);
    for (auto it = m_Shots.begin(); it != m_Shots.end(); ++it) {
        if (&*it == &shot) {
            m_Shots.erase(it);
            return;
        }
    }
}
