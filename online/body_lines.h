#pragma once
#include <string>
#include <vector>

// A fetched text file as lines. A line ends at a line feed, which is not part of it; a
// carriage return right before the line feed goes too, so files written with either
// line end compare alike. A last line without a line feed still counts; an empty body
// has no lines at all.
std::vector<std::string> SplitBodyLines(const std::string& body);

// Collects lines into one text for an edit control: "\r\n" between lines, and nothing
// before the first non-empty text, so leading empty lines add nothing.
void AppendJoined(std::string& text, const std::string& line);
