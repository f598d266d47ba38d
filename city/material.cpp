// Material: scaling the light's base colour into ambient, diffuse and specular terms per building.
#include "city/material.h"

#include <GL/gl.h>

#include "effects/light.h"

namespace {
const GLenum LIGHTS[8] = {GL_LIGHT0, GL_LIGHT1, GL_LIGHT2, GL_LIGHT3,
                          GL_LIGHT4, GL_LIGHT5, GL_LIGHT6, GL_LIGHT7};

void scaled(float out[4], double scale, const float k[3]) {
    for (int c = 0; c < 3; ++c)
        out[c] = static_cast<float>(scale * k[c]);
    out[3] = 1.0f;
}
} // namespace

void Material::setScales(float ambient, float diffuse, float specular, float materialSpecular) {
    ambientScale = ambient;
    diffuseScale = diffuse;
    specularScale = specular;
    materialSpecularScale = materialSpecular;
}

void Material::apply(const Light& light) const {
    if (light.index < 0 || light.index >= 8) return;
    const GLenum l = LIGHTS[light.index];
    const float k[3] = {weightRed * light.colorRed, weightGreen * light.colorGreen,
                        weightBlue * light.colorBlue};
    float ambient[4], diffuse[4], specular[4], materialSpecular[4];
    scaled(ambient, ambientScale, k);
    scaled(diffuse, diffuseScale, k);
    scaled(specular, specularScale, k);
    scaled(materialSpecular, materialSpecularScale, k);

    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, materialSpecular);
    glLightfv(l, GL_AMBIENT, ambient);
    glLightfv(l, GL_DIFFUSE, diffuse);
    glLightfv(l, GL_SPECULAR, specular);
    glLightf(l, GL_SPOT_EXPONENT, spotExponent);
    glLightf(l, GL_SPOT_CUTOFF, spotCutoff);
    glMateriali(GL_FRONT_AND_BACK, GL_SHININESS, shininess);
}
