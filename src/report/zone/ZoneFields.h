#pragma once
// The writers of the field kinds of the record layouts.
#include <cstddef>
#include <string>

#include "RecordLayouts.h"

class ReplyReader;

// Appends the text of one field read from the record data, which ends at
// `end`. Data that does not fit the kind fails the reader.
void AppendField(std::string& out, ReplyReader& data, std::size_t end, FieldKind kind);
