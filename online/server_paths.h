#pragma once

// Where the online features find their files on the maker's web server (app/maker_site.h),
// which they reach over plain HTTP.
constexpr unsigned short kMakerHttpPort = 80;
constexpr char kVersionFilePath[] = "/software/vorlix/index.txt";
constexpr char kMessageFilePath[] = "/software/vorlix/communicator.txt";
constexpr char kFeedbackPath[] = "/cgi-bin/sw_feedback/?";
