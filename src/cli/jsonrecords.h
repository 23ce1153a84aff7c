#pragma once

#include "cliarguments.h"

#include <QByteArray>
#include <QList>
#include <utility>

namespace ferrox::cli {

// --format text|json of the commands that print results as they come
// (signals, measure): text, the program's own lines, by default; json,
// one JSON object a line for programs.
CliOption resultFormatOption();
// True for json, false for text; nothing after a usage error (printed).
std::optional<bool> readJsonChosen(CliArguments &args);

// One JSON object on one line, its first field "time_utc" (now, UTC with
// microseconds, "2026-12-07T09:30:00.123456Z"), then `fields` as given:
// each value already JSON (a number, true, a jsonString()).
QByteArray jsonRecordNow(const QList<std::pair<QByteArray, QByteArray>> &fields);

} // namespace ferrox::cli
