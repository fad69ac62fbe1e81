#include "SoftwareOpenGL.h"

#include <QDir>
#include <QFileInfo>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

namespace {
// Without a graphics device node OpenGL can only render in software. Asking OpenGL itself means
// loading its driver and making a context, a noticeable part of the start-up.
bool hasGraphicsDevice()
{
#ifdef Q_OS_LINUX
    const QStringList nodes = QDir(QStringLiteral("/dev/dri"))
                                  .entryList({QStringLiteral("card*"), QStringLiteral("renderD*")},
                                             QDir::System);
    return !nodes.isEmpty() || QFileInfo::exists(QStringLiteral("/dev/nvidiactl"));
#else
    return true;
#endif
}
}  // namespace

bool SoftwareOpenGL::IsSoftwareRenderer(const QByteArray& renderer)
{
    // The names mpv's own player treats as software renderers, and Mesa's others.
    static const char* const names[] = {"llvmpipe", "softpipe", "software rasterizer", "swrast",
                                        "swr ", "apple software renderer",
                                        "microsoft basic render"};
    const QByteArray lower = renderer.toLower() + ' ';
    for (const char* name : names) {
        if (lower.contains(name))
            return true;
    }
    return false;
}

bool SoftwareOpenGL::InUse()
{
    static const bool software = [] {
        if (!hasGraphicsDevice())
            return true;
        QOpenGLContext context;
        QOffscreenSurface surface;
        surface.setFormat(context.format());
        surface.create();
        // No OpenGL at all: an OpenGL picture could not be drawn either.
        if (!context.create() || !surface.isValid() || !context.makeCurrent(&surface))
            return true;
        const auto* name = reinterpret_cast<const char*>(
            context.functions()->glGetString(GL_RENDERER));
        const bool result = !name || IsSoftwareRenderer(QByteArray(name));
        context.doneCurrent();
        return result;
    }();
    return software;
}
