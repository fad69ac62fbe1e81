#pragma once

#include <QString>

#include <string>

// Appends text as a JSON string literal (quotes included), UTF-8 encoded.
void AppendJsonString(std::string& out, const QString& text);
