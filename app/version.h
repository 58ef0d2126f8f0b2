#pragma once

// The program's version: shown in About, stored at the first start of each version,
// compared by the update check and sent with feedback.
constexpr char kProgramVersion[] = "1.5.2";
