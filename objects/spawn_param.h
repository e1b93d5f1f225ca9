#pragma once
// The record of one placement of a volley or summon: what the formation computed for the
// object it is about to make.
#include <cstdint>

struct SPAWNPARAM {
    std::int16_t index = 0;   // repetition within the volley
    double speed = 0;         // dots per frame
    int angle = 0;            // degrees: 0 left, 90 up, 180 right, 270 down
    int range = 0;            // hbl
    int life = 0;             // tenths of a second
    double vx = 0;            // dots per frame
    double vy = 0;
    int x = 0;                // stage position of the object, top-left
    int y = 0;
    int startX = 0;           // the formation's start
    int startY = 0;
    int stepX = 0;            // from one object to the next
    int stepY = 0;
    int columnStepX = 0;      // from one lightning column to the next
    int columnStepY = 0;
    int width = 0;            // the size of the object being placed
    int height = 0;
    int offsetX = 0;
    int offsetY = 0;
    int direction = 0;        // direction code
};
