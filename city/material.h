// The lighting record each building carries: the factors with which, just before the building is drawn,
// it re-colours the scene's one light and the global ambient light from the light's base colour.
#pragma once

#include <cstdint>

class Light;

class Material {
  public:
    float ambientScale = 0.25f;
    float diffuseScale = 0.5f;
    float specularScale = 0.75f;
    float materialSpecularScale = 0.99f;
    float spotExponent = 1.0f;
    float spotCutoff = 180.0f; // 180: no spot, the light shines every way
    std::int32_t shininess = 20;
    float weightRed = 1.0f;
    float weightBlue = 1.0f;
    float weightGreen = 1.0f;

    virtual ~Material() = default;

    void setScales(float ambient, float diffuse, float specular, float materialSpecular);
    // Programs the light model's ambient, the material's specular and the light's colours and spot; draws
    // nothing. A light index outside 0 to 7 makes no call at all.
    void apply(const Light& light) const;
};
