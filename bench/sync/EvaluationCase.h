#pragma once

#include <QString>

#include <vector>

// One line of the manifest make_films.py writes: a film and a subtitle file to correct, with
// what is known about it.
struct EvaluationCase
{
    bool wrongFilm = false;
    QString video;
    QString subtitles;
    QString truth;
    double shiftMs = 0;
    double fromFps = 0;
    double toFps = 0;
};

std::vector<EvaluationCase> ReadManifest(const QString& path, QString& error);
