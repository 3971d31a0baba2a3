#pragma once

// The text of the Quick help dialog.
extern const char* const kQuickHelpText;
