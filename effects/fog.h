// Linear fog settings handed to GL in one go. Applying them never switches fog on: the passes that want
// fog enable it themselves.
#pragma once

class Fog {
  public:
    float color[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float start = 0.2f; // eye distance where fog begins
    float end = 2.0f;   // eye distance where fog is complete

    virtual ~Fog() = default;

    void setColor(float r, float g, float b, float a);
    void apply() const;
};
