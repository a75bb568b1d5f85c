// The signed test upgraders and the test authority's trust in this prefix.
#pragma once

#include <string>

// The build's folder of signed test upgraders + name.
std::wstring SigningFile(const std::wstring& name);
// The test authority is added to the machine's root store of the test prefix before
// the first test runs: the chain engine reads that store once per process.
