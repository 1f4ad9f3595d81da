// Light: the parameters of OpenGL light 0; each program passes its own colours.
#pragma once

class Light {
public:
    float ambient[4];
    float diffuse[4];
    float position[4];

    Light(const float (&ambient_)[4], const float (&diffuse_)[4], const float (&position_)[4]);
    void init();
    void applyPosition();
};
