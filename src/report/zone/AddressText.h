#pragma once
// Addresses in their usual text: dotted IPv4, and IPv6 with the longest run
// of zero groups written as "::".
#include <string>

class ReplyReader;

void AppendIpv4(std::string& out, ReplyReader& data);
void AppendIpv6(std::string& out, ReplyReader& data);
