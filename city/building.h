// One box-shaped building of the city: where it stands, its footprint in window columns, its storeys with
// their light levels, its colour, texture slot and lighting material, and the immediate-mode draw.
#pragma once

#include <cstdint>

#include "city/material.h"

// Storey levels a building can hold; storeys past it are neither generated nor drawn.
constexpr std::int32_t FLOOR_CAPACITY = 999;
constexpr double COLUMN_WIDTH = 0.02;
constexpr double FLOOR_HEIGHT = 0.01;

class Building {
  public:
    float posX = 0.0f; // reference corner: the building spans +x, -z and +y from here
    float posY = 0.0f;
    float posZ = 0.0f;
    float columnsX = 0.05f;
    float floors = 10.0f; // whole once generated; zero or negative means roof only
    float columnsZ = 0.05f;
    float colorR = 1.0f;
    float colorG = 1.0f;
    float colorB = 1.0f;
    float colorA = 1.0f;
    float floorLight[FLOOR_CAPACITY] = {}; // index 0 is the ground storey
    std::int32_t textureIndex = 0;         // into textureSlots
    Material material;

    virtual ~Building() = default;

    // Binds the building's texture and draws walls and roof at its position, matrix stack balanced.
    // Re-seeds the shared generator for every storey, so the window shades are the same every frame.
    void draw() const;
};
