#pragma once

// What differs between two codeplugs, field by field, as the user sees the fields: both images
// are decoded and their decoded values compared. Bytes whose difference no listed field
// explains (fill, constants, the identification area, unused bits, or a stored value the
// decoder does not take) are counted together as "other data".

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

namespace tr640 {

enum class ChangeKind {
    Changed,        // a field holds another value
    ChannelAdded,   // the channel is empty before and in use after
    ChannelRemoved, // in use before, empty after
    OtherData,      // `count` bytes outside the listed fields differ
};

struct FieldChange {
    ChangeKind kind = ChangeKind::Changed;
    QString field;   // language-independent name: "Band", "Channel03.RxFrequency", "Channel05",
                     // "TimeOutTimer", "EmbeddedMessage1", "OtherData"
    int channel = 0; // 1..16 for a channel's change, otherwise 0
    QString label;   // the field's name in the chosen language
    QString before;  // values in the chosen language
    QString after;
    int count = 0;       // OtherData: bytes
    bool quoted = false; // a text field: its values are shown in quotation marks

    bool operator==(const FieldChange&) const = default;
};

// Which bytes count. A write never sends the fill between the calibration block and the
// identification area nor the one between that area and the auto-dial memories, and sends the
// calibration block only with calibration on.
enum class CompareScope { WholeImage, WrittenBytes, WrittenBytesWithCalibration };

// The changes that turn `before` into `after` (848-byte images; shorter ones read as 0xFF past
// their end): the band first, then channels 1 to 16, the settings, and "other data" last.
QList<FieldChange> CompareCodeplugs(QByteArrayView before, QByteArrayView after, int language,
                                    CompareScope scope = CompareScope::WholeImage);

// One line for a change: "Channel 03 RX frequency: 435.12500 → 436.00000", "Channel 05: new",
// "Other data: 3 byte(s)".
QString DescribeChange(const FieldChange& change, int language);

// Every change as its line, in order.
QStringList DescribeChanges(const QList<FieldChange>& changes, int language);

// "The radio already holds this codeplug." and "The two files hold the same codeplug."
QString RadioHoldsCodeplugText(int language);
QString FilesEqualText(int language);

} // namespace tr640
