#pragma once
// The parameters of an SVCB or HTTPS record in their zone-file text
// (" alpn=h2,h3 port=8443 ..."), read up to `end`. Parameters out of order,
// and values with no plain text here, fail the reader (the record is then
// written in the generic form).
#include <cstddef>
#include <string>

class ReplyReader;

void AppendSvcParams(std::string& out, ReplyReader& data, std::size_t end);
