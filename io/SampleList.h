#pragma once

#include <array>

// The example list a new user can try the commands on: three e-mail addresses, then four
// names. The second mailbox is the fourth name's initial and surname; the fourth, sixth and
// seventh names share that surname; the seventh is a title and the sixth name.
inline constexpr std::array<const char16_t *, 7> kSampleList = {
    u"testmailbox@example.com", u"mholloway@example.com", u"support@example.org",
    u"Martin Holloway",         u"George Ashby Jr.",      u"Clara Holloway",
    u"Mrs. Clara Holloway",
};
