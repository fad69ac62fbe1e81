#include "MediaInspector.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <unistd.h>

void HandToMediaInspector(char** argv)
{
    // Where the installation (or the build tree) puts it, relative to this program's folder.
    const QByteArray path = QFile::encodeName(QCoreApplication::applicationDirPath()
                                              + QStringLiteral("/" VELTRIX_MEDIA_INSPECTOR));
    std::fflush(stdout);
    execv(path.constData(), argv);
    std::fprintf(stderr, "veltrix-inspect: the media inspector %s cannot be started: %s\n",
                 path.constData(), std::strerror(errno));
}
