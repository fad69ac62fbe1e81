#pragma once

#include "mediagen/TestMatroska.h"
#include "mediagen/TestVideo.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The media every engine test plays, written once per test program: a four-second 25 fps AVI
// with a tone, a half-second one, the same pictures as Matroska, an empty file and a file no
// engine can play.
struct GeneratedMedia {
    QTemporaryDir dir;
    QString avi = dir.filePath(QStringLiteral("moving square.avi"));
    QString shortAvi = dir.filePath(QStringLiteral("short.avi"));
    QString matroska = dir.filePath(QStringLiteral("moving square.mkv"));
    QString empty = dir.filePath(QStringLiteral("empty.avi"));
    QString junk = dir.filePath(QStringLiteral("notes.avi"));

    GeneratedMedia()
    {
        TestVideoFormat format;
        format.audio = true;
        EXPECT_TRUE(WriteTestAvi(avi, format));
        format.frames = 12;
        EXPECT_TRUE(WriteTestAvi(shortAvi, format));
        EXPECT_TRUE(WriteTestMatroska(avi, matroska));
        QFile(empty).open(QIODevice::WriteOnly);
        QFile text(junk);
        EXPECT_TRUE(text.open(QIODevice::WriteOnly));
        text.write(QByteArray("These are not the frames you are looking for.\n").repeated(200));
    }

    static GeneratedMedia& Get()
    {
        static GeneratedMedia media;
        return media;
    }
};
