#pragma once
// Objects and records that other parts of the game layer fill in later. They exist now so that
// charas can hold them; what acts on them says "not built yet" once.
#include "objects/object_base.h"

// An on-screen message, an effect instance and a picture of the stage.
struct cMessage {};
struct cEffectInstance {};
struct cPicture {};

// Built in objects/item.h.
class cItem;
