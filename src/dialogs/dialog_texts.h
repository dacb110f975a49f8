#pragma once
// Texts of the messages the settings dialogs and the resident program show about settings that could not take
// effect. Each one says what failed, what still works and what the user can do.

#include <cstdint>
#include <string>

#include "core/records.h"

namespace vantrel {

// A hot key another program holds: which combination, and how the launcher can still be called (or that it
// cannot, when the mouse combination is off too). After the option dialog's OK it also says that the settings,
// this combination included, were saved.
std::u16string HotKeyTakenText(const TOption& option, bool saved);

// The automatic start could not be switched on or off; reason is the system's.
std::u16string AutoRunFailureText(bool on, const std::u16string& reason);

// No help file where the program looked: every file it tried, in order.
std::u16string HelpMissingText(const std::u16string& expected, const std::u16string& fallback);

// The help viewer could not be started for an existing file.
std::u16string HelpViewerFailureText(const std::u16string& file, const std::u16string& reason);

// An environment's settings file could not be deleted when the selection dialog was confirmed.
std::u16string EnvironmentFileNotDeletedText(const std::u16string& file, const std::u16string& reason);

// The messages of the icon dialogs that the system shows with these exact words.
inline constexpr char16_t kFileDoesNotExistText[] = u"The file does not exist.";
inline constexpr char16_t kFolderDoesNotExistText[] = u"The folder does not exist.";
inline constexpr char16_t kNoMoreIconsText[] = u"No more icons can be registered.";
inline constexpr char16_t kDeleteQuestionText[] = u"Do you want to delete it?";

// The delete dialog's question: the item's title over the question.
std::u16string DeleteQuestion(const std::u16string& title);

// A direct key the settings cannot keep: which key, and which keys can be.
std::u16string DirectKeyRefusedText(const std::u16string& key);

// An item without a title cannot be stored: the settings file's list would end at it.
std::u16string BlankTitleText();

// The item a dialog was opened for has been moved, changed or removed by other edits meanwhile.
std::u16string ItemGoneText(bool deleting);

} // namespace vantrel
