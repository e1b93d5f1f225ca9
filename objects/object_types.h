#pragma once
// Small value types shared by the game objects and the stage.
#include <cstdint>

#include "shell/game_arithmetic.h"

// A rectangle of stage pixels, edges inclusive.
struct DBLRECT {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;

    void Clear() { *this = DBLRECT{}; }
    void Assign(const DBLRECT& other) { *this = other; }
    // Touching edges overlap.
    bool Intersects(const DBLRECT& other) const
    {
        return left <= other.right && other.left <= right && top <= other.bottom && other.top <= bottom;
    }
};

// A hit box: the rectangle in stage pixels, then its offset from the object's position and its
// size, scaled and at scale 1.
struct HITBOX {
    DBLRECT rect;
    int nOffsetX = 0;
    int nOffsetY = 0;
    int nWidth = 0;
    int nHeight = 0;
    int nBaseOffsetX = 0;
    int nBaseOffsetY = 0;
    int nBaseWidth = 0;
    int nBaseHeight = 0;

    void Clear() { *this = HITBOX{}; }
};

// Sets a hit box's offset and size to its base ones times the scale.
inline void ScaleBox(HITBOX& box, int scale)
{
    box.nOffsetX = WrapMul(box.nBaseOffsetX, scale);
    box.nOffsetY = WrapMul(box.nBaseOffsetY, scale);
    box.nWidth = WrapMul(box.nBaseWidth, scale);
    box.nHeight = WrapMul(box.nBaseHeight, scale);
}

struct INTRECT {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    void Assign(const INTRECT& other) { *this = other; }
};

// An HP or SP gauge on show: a full gauge is 50 pixels.
struct GAUGE {
    int nTimer = 0;        // frames left to show
    double dChange = 0;    // pixels, negative for a loss
    double dStep = 0;      // pixels per frame
    int nLength = 0;       // pixels
};
