#include "dialogs/dialog_texts.h"

#include "dialogs/option_model.h"

namespace vantrel {

namespace {

std::u16string MouseCombinationWords(int32_t mouseFlag) {
    switch (mouseFlag) {
    case 1:
        return u"pressing the right mouse button while holding the left one";
    case 2:
        return u"pressing the left mouse button while holding the right one";
    case 3:
        return u"pressing the middle mouse button";
    default:
        return {};
    }
}

} // namespace

std::u16string HotKeyTakenText(const TOption& option, bool saved) {
    std::u16string text = u"The hot key " + HotKeyText(option.VkMod, option.VkKey) +
                          u" cannot be used: another program has already registered this combination.\r\n\r\n";
    const std::u16string mouse = MouseCombinationWords(option.MouseFlag);
    if (!mouse.empty())
        text += u"The launcher still opens with the mouse (" + mouse +
                u"), and the vantrel icon in the notification area still opens its menu, where \"Setting...\" "
                u"chooses another key.";
    else
        text += u"The mouse combination is switched off as well, so nothing opens the launcher now. The vantrel "
                u"icon in the notification area still opens its menu, where \"Setting...\" chooses another key "
                u"or switches the mouse on.";
    if (saved)
        text += u"\r\n\r\nThe settings were saved with this combination; it works as soon as the other program "
                u"releases it and vantrel is started again.";
    return text;
}

std::u16string AutoRunFailureText(bool on, const std::u16string& reason) {
    return std::u16string(on ? u"vantrel could not be set to start automatically when you log in."
                             : u"vantrel could not stop starting automatically when you log in.") +
           u"\r\n\r\nThe value \"Vantrel64\" under "
           u"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run "
           u"could not be " +
           (on ? u"written" : u"removed") + u": " + reason + u"\r\n\r\nThe other settings were saved.";
}

std::u16string HelpMissingText(const std::u16string& expected, const std::u16string& fallback) {
    std::u16string text = u"The help file could not be found.\r\n\r\nvantrel looked for:\r\n" + expected;
    if (!fallback.empty() && fallback != expected)
        text += u"\r\n" + fallback;
    return text + u"\r\n\r\nThe help file belongs in the folder of vantrel.exe.";
}

std::u16string HelpViewerFailureText(const std::u16string& file, const std::u16string& reason) {
    return u"The help viewer could not be started for\r\n" + file + u"\r\n\r\n" + reason;
}

std::u16string EnvironmentFileNotDeletedText(const std::u16string& file, const std::u16string& reason) {
    return u"The settings file of a deleted environment could not be removed:\r\n" + file + u"\r\n\r\n" + reason +
           u"\r\n\r\nThe environment is no longer listed; the file can be deleted by hand.";
}

std::u16string DeleteQuestion(const std::u16string& title) {
    return title + u"\r\n" + kDeleteQuestionText;
}

std::u16string DirectKeyRefusedText(const std::u16string& key) {
    return u"\"" + key +
           u"\" cannot be used as a direct key: the settings file keeps only letters, digits, the characters "
           u"Shift gives the digits and F1 to F12, each in one byte.\r\n\r\nChoose another key.";
}

std::u16string BlankTitleText() {
    return u"Enter a title for the item.\r\n\r\nAn item without a title cannot be stored in the settings file.";
}

std::u16string ItemGoneText(bool deleting) {
    return std::u16string(u"This item was moved, changed or removed while the dialog was open, so ") +
           (deleting ? u"nothing was deleted." : u"nothing was changed.") +
           u"\r\n\r\nOpen the dialog again for the item as it is now.";
}

} // namespace vantrel
