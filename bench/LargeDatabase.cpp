#include "LargeDatabase.h"

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <stdexcept>
#include <utility>
#include <vector>

#include "Database.h"
#include "DateTime.h"
#include "DemoData.h"

namespace bench {

namespace {

// Bump when the generated contents change, so no stale cached file is reused.
constexpr int kGeneratorVersion = 1;

// splitmix64: the same numbers on every compiler and standard library.
class Rng {
  public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ull);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    }
    int below(int n) { return n <= 0 ? 0 : static_cast<int>(next() % static_cast<unsigned>(n)); }
    int range(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool percent(int p) { return below(100) < p; }
    bool permille(int p) { return below(1000) < p; }
    template <typename T>
    const T& pick(const std::vector<T>& items) {
        return items[below(static_cast<int>(items.size()))];
    }

  private:
    std::uint64_t state_;
};

// Picks an item by integer weights.
template <typename T>
class Weighted {
  public:
    Weighted() = default;
    Weighted(std::initializer_list<std::pair<T, int>> items) {
        for (const auto& [item, weight] : items) add(item, weight);
    }
    void add(T item, int weight) {
        total_ += weight;
        items_.push_back({total_, std::move(item)});
    }
    const T& pick(Rng& rng) const {
        const int r = rng.below(total_);
        return std::upper_bound(items_.begin(), items_.end(), r,
                                [](int v, const auto& e) { return v < e.first; })
            ->second;
    }

  private:
    int total_ = 0;
    std::vector<std::pair<int, T>> items_;
};

class Statement {
  public:
    Statement(sqlite3* db, const char* sql) : db_(db) {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& text(int i, const std::string& v) {
        sqlite3_bind_text(stmt_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& text(int i, const char* v) {
        if (v)
            sqlite3_bind_text(stmt_, i, v, -1, SQLITE_STATIC);  // literals only
        else
            sqlite3_bind_null(stmt_, i);
        return *this;
    }
    Statement& integer(int i, long long v) {
        sqlite3_bind_int64(stmt_, i, v);
        return *this;
    }
    Statement& real(int i, double v) {
        sqlite3_bind_double(stmt_, i, v);
        return *this;
    }
    Statement& null(int i) {
        sqlite3_bind_null(stmt_, i);
        return *this;
    }
    void insert() {
        if (sqlite3_step(stmt_) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db_));
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }
    bool row() { return sqlite3_step(stmt_) == SQLITE_ROW; }
    long long columnInt(int c) { return sqlite3_column_int64(stmt_, c); }
    double columnReal(int c) { return sqlite3_column_double(stmt_, c); }
    std::string columnText(int c) {
        const auto* t = sqlite3_column_text(stmt_, c);
        return t ? reinterpret_cast<const char*>(t) : "";
    }

  private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// A decimal held as an integer count of 10^-decimals, so values and their text are
// exact and identical everywhere.
struct Decimal {
    long long units;
    int decimals;
    double value() const {
        static const double scale[] = {1, 10, 100, 1000, 10000};
        return static_cast<double>(units) / scale[decimals];
    }
    std::string text() const {
        static const long long scale[] = {1, 10, 100, 1000, 10000};
        std::string s = units < 0 ? "-" : "";
        const long long a = units < 0 ? -units : units;
        s += std::to_string(a / scale[decimals]);
        if (decimals > 0) {
            std::string frac = std::to_string(a % scale[decimals]);
            s += '.' + std::string(decimals - frac.size(), '0') + frac;
        }
        return s;
    }
};

// Where a parameter's values fall, in its own decimals.
struct ParameterRange {
    int code;
    long long lo, hi;
    int decimals;
};

std::vector<ParameterRange> parameterRanges(sqlite3* db) {
    // The demo's own results give each parameter a believable range.
    std::map<int, std::pair<double, double>> seen;
    Statement observed(db,
                       "SELECT parameter_code, MIN(result_value), MAX(result_value) FROM "
                       "tblresults GROUP BY parameter_code");
    while (observed.row())
        seen[static_cast<int>(observed.columnInt(0))] = {observed.columnReal(1),
                                                         observed.columnReal(2)};
    std::vector<ParameterRange> ranges;
    Statement codes(db, "SELECT parameter_code FROM TBLParameter_Codes ORDER BY parameter_code");
    while (codes.row()) {
        const int code = static_cast<int>(codes.columnInt(0));
        auto [lo, hi] = seen.count(code) ? seen[code] : std::pair{0.1, 100.0};
        if (hi <= lo) hi = lo + 1;
        const int decimals = hi >= 100 ? 0 : hi >= 10 ? 1 : hi >= 1 ? 2 : 3;
        double scale = 1;
        for (int d = 0; d < decimals; ++d) scale *= 10;
        ranges.push_back({code, static_cast<long long>(lo * scale + 0.5),
                          static_cast<long long>(hi * scale + 0.5), decimals});
    }
    if (ranges.empty()) throw std::runtime_error("the demo database has no parameters");
    return ranges;
}

std::vector<long long> integerColumn(sqlite3* db, const char* sql) {
    std::vector<long long> values;
    Statement s(db, sql);
    while (s.row()) values.push_back(s.columnInt(0));
    return values;
}

std::vector<std::string> textColumn(sqlite3* db, const char* sql) {
    std::vector<std::string> values;
    Statement s(db, sql);
    while (s.row()) values.push_back(s.columnText(0));
    return values;
}

struct WaterBody {
    const char* name;
    const char* kind;  // River, Stream or Lake
};

const std::vector<WaterBody> kWaterBodies = {
    {"Bear River", "River"},        {"Logan River", "River"},        {"Weber River", "River"},
    {"Ogden River", "River"},       {"Blacksmith Fork", "River"},    {"Malad River", "River"},
    {"Little Bear River", "River"}, {"Cub River", "River"},          {"Mill Creek", "Stream"},
    {"Spring Creek", "Stream"},     {"Silver Creek", "Stream"},      {"Cottonwood Creek", "Stream"},
    {"Deep Creek", "Stream"},       {"Beaver Creek", "Stream"},      {"Summit Creek", "Stream"},
    {"Dry Creek", "Stream"},        {"Birch Creek", "Stream"},       {"Willow Creek", "Stream"},
    {"Box Elder Creek", "Stream"},  {"Hyrum Slough", "Stream"},      {"Clear Lake", "Lake"},
    {"Willow Reservoir", "Lake"},   {"Porcupine Reservoir", "Lake"}, {"Newton Reservoir", "Lake"},
    {"Pineview Reservoir", "Lake"}, {"Mantua Reservoir", "Lake"},    {"Tony Grove Lake", "Lake"},
    {"Cutler Reservoir", "Lake"},
};

const std::vector<const char*> kLandmarks = {
    "Highway 30 Bridge", "Canyon Mouth",  "County Road 200",    "the Fish Hatchery",
    "Main Street",       "the Gauge",     "Railroad Crossing",  "the Diversion Dam",
    "Golf Course",       "Water Plant",   "Wastewater Outfall", "Forest Boundary",
    "State Park",        "Old Mill Road", "Airport Road",       "the Confluence",
};

const std::vector<const char*> kTowns = {"Corinne",    "Paradise", "Hyrum",      "Wellsville",
                                         "Mendon",     "Newton",   "Richmond",   "Smithfield",
                                         "Honeyville", "Plymouth", "Collinston", "Avon"};

const std::vector<const char*> kOrganizations = {
    "County Water Conservancy District", "Regional Water Reclamation Authority",
    "Cache Valley Watershed Council", "State Division of Wildlife Resources"};

struct Theme {
    const char* abbreviation;
    const char* name;
    const char* purpose;
};

const std::vector<Theme> kThemes = {
    {"NUT", "Nutrient Survey", "Nitrogen and phosphorus loads"},
    {"TMDL", "TMDL Monitoring", "Load allocations for impaired waters"},
    {"LAKE", "Lake Trophic Study", "Trophic state and algal blooms"},
    {"BACT", "Bacteria Monitoring", "Recreational water safety"},
    {"MTL", "Metals Survey", "Metals from historic mining"},
    {"STRM", "Stormwater Program", "Urban runoff quality"},
    {"FISH", "Fish Tissue Study", "Contaminants in fish tissue"},
    {"SED", "Sediment Quality Study", "Contaminants in bed sediment"},
    {"VOL", "Volunteer Monitoring", "Citizen monitoring and education"},
    {"BASE", "Baseline Assessment", "Conditions before development"},
};

const std::vector<const char*> kAreas = {"Bear River basin", "Cache Valley",  "Upper Weber",
                                         "Ogden Valley",     "Malad Valley",  "Box Elder County",
                                         "Statewide",        "Wasatch Front", "Lower Bear River"};

const std::vector<const char*> kFirstNames = {"Avery",  "Jordan", "Casey",  "Morgan", "Riley",
                                              "Taylor", "Quinn",  "Harper", "Rowan",  "Emerson"};
const std::vector<const char*> kLastNames = {"Hollister", "Brandt",   "Achterberg", "Oyelaran",
                                             "Saltzman",  "Duarte",   "Kimura",     "Pell",
                                             "Vance",     "Marchetti"};

const std::vector<const char*> kComments = {
    "Light rain",         "Ice along both banks", "Calm, clear sky",     "Storm runoff, high flow",
    "Low flow",           "Cattle upstream",      "Algae on rocks",      "Turbid after rain",
    "Meter recalibrated", "Sampled from bridge",  "Wind from the south", "Snow on banks"};

const std::vector<const char*> kTextResults = {"Present", "Absent", "TNTC", "Trace", "ND", ">2400"};

struct Project {
    std::string code;
    std::vector<int> suite;  // parameter indexes it measures, reshuffled per sample
    int firstStation;
    int stationSpan;
};

// One draw per statement: the operands of + have no fixed order of evaluation.
std::string phone(Rng& rng) {
    std::string text = "(555) " + std::to_string(rng.range(200, 899));
    return text + "-" + std::to_string(rng.range(1000, 9999));
}

std::string dateText(long long dayNumber, int hour = 0, int minute = 0) {
    auto d = platform::DateTime::fromDayNumber(dayNumber);
    d.hour = hour;
    d.minute = minute;
    return d.toStored();
}

void addOrganizations(sqlite3* db) {
    Statement insert(db, "INSERT INTO tblOrganization VALUES (?1, ?2)");
    long long id = integerColumn(db, "SELECT MAX(organization_id) FROM tblOrganization").at(0);
    for (const char* name : kOrganizations) insert.integer(1, ++id).text(2, name).insert();
}

void addStations(sqlite3* db, Rng& rng, int wanted) {
    Statement insert(db,
                     "INSERT INTO tblstation_information VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, "
                     "NULL, ?8, ?9, ?10, ?11, ?12, ?13, NULL, ?14, ?15)");
    const auto existing = integerColumn(db, "SELECT station_id FROM tblstation_information");
    long long id = existing.empty() ? 100 : *std::max_element(existing.begin(), existing.end());
    for (int n = static_cast<int>(existing.size()); n < wanted; ++n) {
        id += rng.range(1, 9);
        const WaterBody& wb = rng.pick(kWaterBodies);
        const bool lake = std::string(wb.kind) == "Lake";
        std::string place = wb.name;
        switch (rng.below(lake ? 2 : 4)) {
            case 0:
                place += std::string(" at ") + rng.pick(kLandmarks);
                break;
            case 1:
                place += lake ? " Deep Station" : std::string(" near ") + rng.pick(kTowns);
                break;
            case 2:
                place += std::string(" above ") + rng.pick(kLandmarks);
                break;
            default:
                place += std::string(" below ") + rng.pick(kLandmarks);
                break;
        }
        const std::string huc = "1601" + std::to_string(rng.range(100, 299)) + "0";
        insert.integer(1, id)
            .real(2, Decimal{rng.range(400000, 425000), 4}.value())
            .real(3, Decimal{-rng.range(1105000, 1135000), 4}.value())
            .text(4, rng.percent(75) ? "1" : "3")
            .text(5, "EPA" + std::to_string(4900000 + id * 7));
        if (rng.percent(60))
            insert.text(6, "1010" + std::to_string(5000 + id * 3));
        else
            insert.null(6);
        insert.text(7, "ST-" + std::to_string(id)).text(8, place);
        if (lake)
            insert.null(9);
        else
            insert.real(9, Decimal{rng.range(50, 50000), 1}.value());
        insert.text(10, huc)
            .text(11, lake              ? "Lake"
                      : rng.percent(15) ? "Urban"
                                        : wb.kind)
            .text(12, wb.name)
            .text(13, huc + "-" + std::to_string(rng.range(1, 99)))
            .text(14, wb.kind)
            .text(15, rng.percent(50) ? "Y" : "N")
            .insert();
    }
}

void addProjects(sqlite3* db, Rng& rng, int wanted) {
    Statement insert(
        db, "INSERT INTO tblprojects_programs VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
    const long long organizations = integerColumn(db, "SELECT COUNT(*) FROM tblOrganization").at(0);
    const int existing =
        static_cast<int>(integerColumn(db, "SELECT COUNT(*) FROM tblprojects_programs").at(0));
    const long long day1990 = platform::DateTime{1990, 1, 1}.dayNumber();
    for (int i = 0; existing + i < wanted; ++i) {
        const Theme& theme = kThemes[i % kThemes.size()];
        const char* area = rng.pick(kAreas);
        // Some programs number their projects, others give them mnemonic codes.
        const std::string code =
            i % 2 == 0 ? std::to_string(10 + i) : theme.abbreviation + std::to_string(i);
        const long long start = day1990 + rng.range(0, 15 * 365);
        insert.text(1, code).text(2, std::string(area) + " " + theme.name);
        if (rng.percent(70))
            insert.integer(3, rng.range(1, static_cast<int>(organizations)));
        else
            insert.null(3);
        insert.text(4, area).text(5, theme.purpose).text(6, dateText(start));
        if (rng.percent(40)) insert.text(7, dateText(start + rng.range(180, 6 * 365)));
        std::string contact = rng.pick(kFirstNames);
        insert.text(8, contact + " " + rng.pick(kLastNames));
        if (rng.percent(85)) insert.text(9, phone(rng));
        insert.insert();
    }
}

// Each project samples its own stretch of stations and measures its own suite.
std::vector<Project> planProjects(sqlite3* db, Rng& rng, int parameterCount, int maxPerSample,
                                  int stationCount) {
    std::vector<Project> projects;
    for (auto& code :
         textColumn(db, "SELECT project_code FROM tblprojects_programs ORDER BY project_code")) {
        Project p{code, {}, rng.below(stationCount), 0};
        p.stationSpan =
            code == "8" ? std::min(stationCount, 80) : std::min(stationCount, rng.range(3, 40));
        std::vector<int> all(parameterCount);
        for (int i = 0; i < parameterCount; ++i) all[i] = i;
        const int suiteSize =
            std::min(parameterCount, std::max(12, maxPerSample + 2 + rng.below(6)));
        for (int i = 0; i < suiteSize; ++i)
            std::swap(all[i], all[i + rng.below(parameterCount - i)]);
        p.suite.assign(all.begin(), all.begin() + suiteSize);
        projects.push_back(std::move(p));
    }
    return projects;
}

Weighted<int> projectShares(const std::vector<Project>& projects) {
    // Project 8 takes a tenth; the rest fall off like real programs do, a few large ones
    // and many small ones.
    Weighted<int> shares;
    int others = 0;
    for (const auto& p : projects) others += p.code != "8";
    int weightOfOthers = 0;
    for (int rank = 0; rank < others; ++rank) weightOfOthers += 100000 / (rank + 2);
    for (int i = 0, rank = 0; i < static_cast<int>(projects.size()); ++i) {
        if (projects[i].code == "8")
            shares.add(i, others ? weightOfOthers / 9 : 1);
        else
            shares.add(i, 100000 / (rank++ + 2));
    }
    return shares;
}

}  // namespace

void CreateLargeDatabase(const std::string& path, const LargeDatabaseSize& size) {
    auto database = store::CreateDemoDatabase(path);
    sqlite3* db = database->handle();
    // Bulk loading: a big page cache keeps the index inserts in memory.
    database->ExecuteNative("PRAGMA cache_size = -131072");
    Rng rng(size.seed);
    database->BeginTrans();
    try {
        const auto parameters = parameterRanges(db);
        // Every sample is generated, so the counts are exactly what was asked for.
        database->ExecuteNative(
            "DELETE FROM tblsample; DELETE FROM tblresults; DELETE FROM "
            "tblresults_val_nonnumeric; DELETE FROM tblreplicates;");
        addOrganizations(db);
        addStations(db, rng, size.stations);
        addProjects(db, rng, size.projects);

        const auto stations =
            integerColumn(db, "SELECT station_id FROM tblstation_information ORDER BY station_id");
        const int parameterCount = static_cast<int>(parameters.size());
        const int spread = size.resultsPerSample / 5;
        const int maxNumeric = std::min(parameterCount, size.resultsPerSample + spread);
        auto projects =
            planProjects(db, rng, parameterCount, maxNumeric, static_cast<int>(stations.size()));
        const auto projectOf = projectShares(projects);

        const Weighted<const char*> media{{"W", 85}, {"S", 10}, {"T", 5}};
        const Weighted<const char*> types{{"G", 65}, {"C", 10}, {"I", 12}, {"B", 7}, {"D", 6}};
        const Weighted<const char*> statistics{{"A", 50}, {"M", 25}, {"X", 15}, {"N", 10}};
        const Weighted<const char*> remarks{{"<", 60}, {"J", 20}, {"U", 8},
                                            {">", 4},  {"B", 4},  {"Q", 4}};

        Statement sample(db,
                         "INSERT INTO tblsample VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, "
                         "?11, ?12)");
        Statement result(db, "INSERT INTO tblresults VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
        Statement text(db, "INSERT INTO tblresults_val_nonnumeric VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
        Statement replicate(db, "INSERT INTO tblreplicates VALUES (?1, ?2, ?3, ?4, ?5, ?6)");

        const int handEntered = static_cast<int>(std::min<long long>(
            static_cast<long long>(size.samples) * size.handEnteredPercent / 100,
            size.maxHandEntered));
        const int batch = (size.samples - handEntered) * 25 / 85;
        const std::pair<const char*, int> sources[] = {
            {"S", size.samples - handEntered - batch}, {"B", batch}, {"V", handEntered}};
        const long long firstDay = platform::DateTime{1996, 1, 1}.dayNumber();
        const long long days = platform::DateTime{2006, 1, 1}.dayNumber() - firstDay;

        for (const auto& [idloc, count] : sources) {
            for (int code = 1; code <= count; ++code) {
                const int p = projectOf.pick(rng);
                Project& project = projects[p];
                const long long station =
                    stations[(project.firstStation + rng.below(project.stationSpan)) %
                             stations.size()];
                // Codes follow the calendar, as a source numbers its samples over the years.
                const long long day =
                    firstDay + std::min(days - 1, (code - 1) * days / count + rng.below(14));
                const bool timed = rng.percent(75);
                const int hour = timed ? rng.range(7, 17) : 0;
                const int minute = timed ? rng.below(12) * 5 : 0;
                const char* type = types.pick(rng);
                const bool composite = std::string(type) == "C";

                sample.text(1, idloc)
                    .integer(2, code)
                    .text(3, project.code)
                    .integer(4, station)
                    .text(5, dateText(day, hour, minute))
                    .text(6, timed ? "N" : "Y");
                if (composite)
                    sample.text(7, dateText(day + 1, hour, minute));
                else if (timed && rng.percent(3))
                    sample.text(7, dateText(day, hour + rng.range(1, 6), minute));
                sample.text(8, media.pick(rng)).text(9, type);
                if (rng.percent(55)) sample.real(10, Decimal{rng.range(1, 300), 1}.value());
                if (rng.percent(20)) sample.text(11, rng.pick(kComments));
                if (composite) sample.text(12, statistics.pick(rng));
                sample.insert();

                // Distinct parameters: the front of the project's suite after a partial shuffle.
                auto& suite = project.suite;
                const int suiteSize = static_cast<int>(suite.size());
                const int numeric =
                    std::clamp(size.resultsPerSample + rng.range(-spread, spread), 0, suiteSize);
                const bool hasText = rng.percent(5);
                const int texts = hasText ? std::min(suiteSize - numeric, rng.range(1, 2)) : 0;
                for (int i = 0; i < numeric + texts; ++i)
                    std::swap(suite[i], suite[i + rng.below(suiteSize - i)]);

                for (int i = 0; i < numeric; ++i) {
                    const ParameterRange& par = parameters[suite[i]];
                    const bool remarked = rng.percent(3);
                    const char* remark = remarked ? remarks.pick(rng) : nullptr;
                    const bool belowLimit = remark && std::string(remark) == "<";
                    const Decimal v{belowLimit
                                        ? par.lo
                                        : par.lo + rng.below(static_cast<int>(par.hi - par.lo + 1)),
                                    par.decimals};
                    result.text(1, idloc)
                        .integer(2, code)
                        .integer(3, par.code)
                        .real(4, v.value())
                        .text(5, remark)
                        .text(6, rng.percent(96) ? "A" : "B");
                    if (rng.permille(15))
                        result.text(7, rng.percent(50) ? "Field meter" : "Lab rerun");
                    result.insert();
                    if (i == 0 && rng.percent(3)) {
                        const Decimal again{v.units + rng.range(-2, 2), par.decimals};
                        replicate.text(1, idloc)
                            .integer(2, code)
                            .integer(3, par.code)
                            .text(4, (again.units < 0 ? v : again).text())
                            .text(5, remark)
                            .text(6, "A")
                            .insert();
                    }
                }
                for (int i = numeric; i < numeric + texts; ++i) {
                    const char* value = rng.pick(kTextResults);
                    text.text(1, idloc)
                        .integer(2, code)
                        .integer(3, parameters[suite[i]].code)
                        .text(4, value)
                        .text(5, std::string(value) == ">2400" ? ">" : nullptr)
                        .text(6, rng.percent(90) ? "A" : "B")
                        .insert();
                }
            }
        }
        database->CommitTrans();
    } catch (...) {
        database->Rollback();
        throw;
    }
}

namespace {
// Only a share other than the usual one shows in the name, so existing caches stay valid.
std::string handEnteredTag(const LargeDatabaseSize& size) {
    const LargeDatabaseSize usual;
    if (size.handEnteredPercent == usual.handEnteredPercent &&
        size.maxHandEntered == usual.maxHandEntered)
        return "";
    return "-v" + std::to_string(size.handEnteredPercent) + "max" +
           std::to_string(size.maxHandEntered);
}
}  // namespace

std::string CachedLargeDatabase(const LargeDatabaseSize& size) {
    namespace fs = std::filesystem;
    const std::string name = "dataloader-bench-v" + std::to_string(kGeneratorVersion) + "-" +
                             std::to_string(size.samples) + "x" +
                             std::to_string(size.resultsPerSample) + "-st" +
                             std::to_string(size.stations) + "-p" + std::to_string(size.projects) +
                             "-seed" + std::to_string(size.seed) + handEnteredTag(size) + ".db";
    const fs::path file = fs::temp_directory_path() / name;
    if (fs::exists(file)) return file.string();
    // Built under another name and renamed, so an interrupted run leaves nothing to reuse.
    const fs::path partial = file.string() + ".partial" + std::to_string(getpid());
    fs::remove(partial);
    CreateLargeDatabase(partial.string(), size);
    fs::rename(partial, file);
    return file.string();
}

}  // namespace bench
