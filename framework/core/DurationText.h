#ifndef QUENVALE_FRAMEWORK_DURATIONTEXT_H
#define QUENVALE_FRAMEWORK_DURATIONTEXT_H

#include <cstdint>
#include <string>

// Duration texts for systems without a duration format of their own.
// Under a day the text follows a time picture of the user's locale
// ("H:mm:ss", "m:ss" or "s 'sec'"); from one day on the hours count on
// past 24 ("26:00:00").

constexpr uint64_t kSecondsPerDay = 86400;

// The time picture for a duration under a day: "H:mm:ss" when the hours are
// nonzero, "m:ss" when only the minutes are, else "s 'sec'".
const char* DurationPicture(unsigned uHour, unsigned uMinute, unsigned uSecond);

// The text that DurationPicture's picture gives for these fields, for use
// when the locale cannot format it: "1:02:03", "1:30", "59 sec".
std::string FormatShortDuration(unsigned uHour, unsigned uMinute, unsigned uSecond);

// Seconds of a duration held as a date counted from day 1 (day 1 = under a
// day): ((day * 24 + hour) * 60 + minute) * 60 + second - 86400. Only valid
// for the day field of the first month; a day field of 0 counts as 1.
uint64_t DurationSecondsFromFields(unsigned uDay, unsigned uHour, unsigned uMinute,
                                   unsigned uSecond);

// "%u:%02u:%02u" (hours, minutes, seconds) from an hour on, "%u:%02u" from
// a minute on, else "%u sec".
std::string FormatLongDuration(uint64_t ullSeconds);

#endif
