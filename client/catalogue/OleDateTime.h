#pragma once
// A date-time in the OLE form: a floating count of days since 30 December 1899,
// the fraction being the time of day, with a validity status. Before that day
// the integer part counts back while the fraction still counts forward
// (-1.25 is 29 December 1899, 06:00).
#include <string>
#include <string_view>

/// The order in which a numeric date gives its day, month and year.
enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

/// The date order of the user's locale (LC_TIME / LANG); month first when unknown.
DateOrder UserDateOrder();

class COleDateTime {
public:
    enum Status { valid = 0, invalid = 1 };

    COleDateTime() = default;
    explicit COleDateTime(double days) : m_days(days) {}
    /// An invalid date-time when a part is out of range (years 100 to 9999).
    static COleDateTime FromParts(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
    static COleDateTime Invalid();

    /// Parses a date with an optional time, or a time alone, the way the
    /// locale-aware OLE parser does: numeric dates in the given order (a
    /// four-digit first part means year first), month names in English,
    /// 12- or 24-hour times. Text that does not parse leaves the value invalid.
    bool ParseDateTime(std::string_view text, DateOrder order = UserDateOrder());

    double GetDays() const { return m_days; }
    Status GetStatus() const { return m_status; }
    bool IsValid() const { return m_status == valid; }

    struct Parts {
        int year, month, day, hour, minute, second;
    };
    /// Splits the value, rounded to the nearest second; false when invalid.
    bool GetParts(Parts& parts) const;

    /// "YYYY-MM-DD HH:MM:SS"; empty when invalid.
    std::string FormatIso() const;

    bool operator==(const COleDateTime& other) const = default;

private:
    double m_days = 0.0;
    Status m_status = valid;
};
