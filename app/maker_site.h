#pragma once
// Where the maker of the program is found: the web server the online features talk to,
// and the addresses the About dialog links to. One host for all of them.

#define VORLIX_MAKER_DOMAIN "quendal-software.example"

constexpr char kMakerHost[] = "www." VORLIX_MAKER_DOMAIN;
constexpr char kMakerWebAddress[] = "http://www." VORLIX_MAKER_DOMAIN "/";
constexpr char kMakerMailAddress[] = "vorlix@" VORLIX_MAKER_DOMAIN;
