#pragma once

#include <QByteArray>

// Whether OpenGL here renders in software (no GPU driver, a virtual machine, a remote display).
// There an OpenGL picture costs several times the decoding, so both engines draw without it.
class SoftwareOpenGL {
public:
    // True when the OpenGL that Qt would use here renders in software. Asked once per run.
    static bool InUse();
    // The same test on a renderer's name (GL_RENDERER).
    static bool IsSoftwareRenderer(const QByteArray& renderer);
};
