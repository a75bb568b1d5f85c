// The statistics service of the test build: a recording server on the port that the
// build's OVRIN_STATS_HOST names, since the program under test has that host built in.
#pragma once

#include <string>

#include "support/http_server.h"

namespace testing_support {

// The port of the build's statistics host ("127.0.0.1:<port>"); 0 when it names none.
unsigned short StatsPort();

// A beacon request's query value of key (the text after "key=" up to "&"), with the
// %20 that Wine's WinINet makes of a space turned back into the space.
std::wstring BeaconParam(const RecordedRequest& request, const std::wstring& key);

}  // namespace testing_support
