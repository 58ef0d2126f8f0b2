#pragma once
#include <string>

// The application title from the program's string table ("Vorlix" when the entry is
// missing): the online features' user agent and the form's app_name.
std::string ApplicationTitle();
