#pragma once

#include <string_view>

// The icon a message is shown with.
enum class MessageIcon { Information, Stop };

// The one way the logic talks to the user. ShowMessage shows the text (UTF-8; "\r\n" is a
// line break) with the caption and the icon and returns when the user has dismissed it.
class MessageCallback {
public:
    virtual ~MessageCallback() = default;
    virtual void ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon) = 0;
};

// Captions of the messages the program shows.
inline constexpr std::string_view kCaptionWarning = "Предупреждение";
inline constexpr std::string_view kCaptionError = "Ошибка";
inline constexpr std::string_view kCaptionMessage = "Сообщение";
// The application's own caption, used for the file message that the application (not a
// page) shows.
inline constexpr std::string_view kApplicationTitle = "Загрузчик самолета Ил-18Д";
