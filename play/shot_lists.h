#pragma once
// The stage's shots and swords: each owned by value in one list (a node of its own, so that
// the address its layer list and its hits keep stays valid), named again in the list of its
// layer, and numbered by the serial the next one takes.
#include <list>

#include "objects/shot.h"
#include "shell/safe_container.h"

class cShotLists {
public:
    // The set-up's start: no shot left, and `layers` empty layer lists.
    void Reset(int layers);
    // The one way a shot or sword enters the stage: a copy at the end of the shot list, its
    // address in the list of its layer (checked). Returns the copy.
    cShot& Append(const cShot& shot);
    // The one way a shot or sword leaves the stage: out of its layer list and the shot list,
    // then destroyed.
    void Remove(cShot& shot);

    std::list<cShot> m_Shots;
    cSafeVector<std::list<cShot*>> m_ShotLayers;
    int m_nShotSerial = 0;
};
