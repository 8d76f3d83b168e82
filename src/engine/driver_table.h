// The driver types as rows of one table: each row says whether this system can run the type,
// which device lists it has, how its entries are named and which path plays through it. A
// driver type this version cannot play through has a row without a path; a new output path is
// a new row.
#pragma once

#include "engine/driver_catalog.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qv {

// A driver type's device lists and the device that plays through it.
class DriverPath {
public:
    virtual ~DriverPath() = default;
    // Builds the lists (see DriverCatalog::Enumerate); true when the type cannot play.
    virtual bool Enumerate(ErrorText& text) = 0;
    virtual int Count(bool input) const = 0;
    virtual std::string Name(int entry, bool input) const = 0;
    // The device that plays through this type.
    virtual Device* Open() = 0;
    virtual void Release() = 0;

    // The format list's test of one list entry: BeginFormatTest opens what stays open for the
    // whole test (false: the entry supports nothing), TestFormat tries one format (queryOnly:
    // only asks, where the driver can ask), EndFormatTest lets go. setup is the stream as the
    // engine would open it now (WavePlayRec::CurrentStreamSetup), for the settings a trial
    // opening takes from it (WASAPI's event mode).
    virtual bool BeginFormatTest(int entry, const StreamSetup& setup) {
        static_cast<void>(entry), static_cast<void>(setup);
        return true;
    }
    virtual bool TestFormat(int entry, const WaveFormatRecord& format, bool queryOnly) {
        static_cast<void>(entry), static_cast<void>(format), static_cast<void>(queryOnly);
        return false;
    }
    virtual void EndFormatTest() {}
    // The bit code a format test's device holds as its own (0: none marked).
    virtual int OwnBitCode() const { return 0; }
    // A driver's output channels, read by loading the entry's driver once (empty when it cannot
    // be loaded); only ASIO has them.
    virtual std::vector<std::string> ChannelNames(int entry) {
        static_cast<void>(entry);
        return {};
    }
    // Asks the entry's driver to show its control panel; true when it did.
    virtual bool ControlPanel(int entry) {
        static_cast<void>(entry);
        return false;
    }
    // The device dialog's Info text of a list entry for the stream the engine would open now
    // ("" when the type has none, or when the entry cannot be opened and nothing says why);
    // detailed with Shift held.
    virtual std::string InfoText(int entry, const StreamSetup& setup, bool detailed) {
        static_cast<void>(entry), static_cast<void>(setup), static_cast<void>(detailed);
        return {};
    }
};

struct DriverRow {
    PlayDriverType type;
    // Why this system cannot run the type ("" when it can): the start-up tests' verdict.
    std::function<std::string()> probe = {};
    std::unique_ptr<DriverPath> path = nullptr; // null: this version does not play through it
    // Entry 0 of the output list is the system's default (the mapper, the primary driver)
    // ahead of the devices the type counts.
    bool defaultEntry = false;
};

// The name the device dialog and the renderer give a type.
const char* DriverTypeName(PlayDriverType type);

class DriverTable : public DriverCatalog {
public:
    explicit DriverTable(std::vector<DriverRow> rows);

    bool SystemOffers(PlayDriverType type) const override;
    bool Enumerate(PlayDriverType type, ErrorText& text) override;
    int Count(PlayDriverType type, bool input) const override;
    std::string Name(PlayDriverType type, int entry, bool input) const override;
    Device* DeviceFor(PlayDriverType type) override;
    void Release(PlayDriverType type) override;
    // The row of a type (null when the table has none).
    const DriverRow* Row(PlayDriverType type) const;
    // The path of a type (null when this version does not play through it).
    DriverPath* PathFor(PlayDriverType type);

protected:
    DriverTable() = default;
    // For a catalog whose rows need its own members.
    void SetRows(std::vector<DriverRow> rows) { rows_ = std::move(rows); }

private:
    DriverRow* Find(PlayDriverType type);
    std::vector<DriverRow> rows_;
};

} // namespace qv
