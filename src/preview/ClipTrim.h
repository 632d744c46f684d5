#pragma once

#include <QString>

namespace vidora {

// What the job list hands the trimming window: TrimFile and TrimTimes (the job's Start, End
// and Video Time).
struct TrimHandOver {
    QString file;
    QString start;
    QString end;
    QString videoTime;
};

// The trimming window's marker logic without the window: the start and end markers in
// seconds, the start, end and clip time texts, and the check of "OK". Times are compared as
// seconds, so 9:00:00 comes before 10:00:00 and an end before the start is refused.
class ClipTrim {
public:
    explicit ClipTrim(const TrimHandOver& handOver);

    // "Clip Time  -  " and the file.
    QString caption() const;
    // Both markers range from 0 to the file's length in seconds.
    int markerMaximum() const { return m_maximum; }
    int startMarker() const { return m_startMarker; }
    int endMarker() const { return m_endMarker; }
    QString startText() const { return m_startText; }
    QString endText() const { return m_endText; }
    QString clipText() const { return m_clipText; }

    // A marker released at this second (also what the keys I and O do): its text and the clip
    // duration follow. The markers may cross; accepting checks them.
    void releaseStartMarker(int seconds);
    void releaseEndMarker(int seconds);

    // Whether "OK" may write the texts: both are times and the start lies before the end.
    bool canAccept() const;

    // The clip duration text of two time texts: the amount of end - start, without its sign.
    static QString durationText(const QString& start, const QString& end);

private:
    QString m_file;
    int m_maximum = 0;
    int m_startMarker = 0;
    int m_endMarker = 0;
    QString m_startText;
    QString m_endText;
    QString m_clipText;
};

} // namespace vidora
