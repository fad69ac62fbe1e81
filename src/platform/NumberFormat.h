#pragma once

#include <QString>

// The shortest decimal text that reads back as the same double: 25 -> "25", 23.976 -> "23.976",
// 29.97 -> "29.97". "." is the separator whatever the locale.
QString ShortestDecimal(double value);
