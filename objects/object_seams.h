#pragma once
// Objects and records that other parts of the game layer fill in later. They exist now so that
// charas can hold them; what acts on them says "not built yet" once.
#include "objects/object_base.h"

// A command animation on a chara, as a flow hands it over; playing it is not built yet.
struct cCharaAnimation {
    int nAnime = 0;             // Anime database entry
    int nOwner = 0;             // serial of the flow that started it
    int bScheduled = 0;
    int nPlay = 0;              // frames to play
    int nCommandFrames = 0;     // the command's base time x 6
    int nSkip = 0;              // frames of the lead-in skipped
    int bHold = 0;              // the first locked frame lasts the whole command
    int bStopped = 0;           // finished early: held on its frame, skipped by the frame choice
};
// An on-screen message, an effect instance and a picture of the stage.
struct cMessage {};
struct cEffectInstance {};
struct cPicture {};

// Built in objects/item.h.
class cItem;
