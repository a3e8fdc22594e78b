#include "DemoData.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Conversions.h"
#include "Database.h"
#include "DateTime.h"
#include "Schema.h"
#include "Statement.h"

namespace store {

namespace {

using platform::DateTime;
using platform::Variant;

// A value or Null.
Variant nullOr(const char* text) { return text ? Variant(text) : Variant(); }
Variant nullOr(std::optional<double> number) { return number ? Variant(*number) : Variant(); }

// Small deterministic generator, so every demo database holds the same rows.
class Lcg {
  public:
    explicit Lcg(std::uint32_t seed) : state_(seed) {}
    std::uint32_t next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }
    int range(int lo, int hi) { return lo + static_cast<int>(next() % (hi - lo + 1)); }
    double real(double lo, double hi) { return lo + (hi - lo) * (next() % 100000) / 100000.0; }

  private:
    std::uint32_t state_;
};

struct Parameter {
    int code;
    const char* shortName;
    const char* fullName;
    double lo, hi;
    int decimals;
};

const std::vector<Parameter>& parameters() {
    static const std::vector<Parameter> list = {
        {10, "Temp", "Temperature, water, degrees Celsius", 0.5, 26, 1},
        {60, "Flow", "Discharge, cubic feet per second", 2, 850, 0},
        {76, "Turb", "Turbidity, nephelometric turbidity units", 0.4, 60, 1},
        {78, "Secchi", "Transparency, Secchi disc, meters", 0.3, 6, 1},
        {95, "SpCond", "Specific conductance, microsiemens per centimeter at 25 C", 90, 1400, 0},
        {300, "DO", "Oxygen, dissolved, milligrams per liter", 4.5, 13, 1},
        {310, "BOD5", "Biochemical oxygen demand, 5 day, 20 C, milligrams per liter", 0.5, 9, 1},
        {340, "COD", "Chemical oxygen demand, high level, milligrams per liter", 5, 60, 0},
        {400, "pH", "pH, standard units", 6.4, 8.9, 1},
        {410, "Alk", "Alkalinity, total, as calcium carbonate, milligrams per liter", 40, 260, 0},
        {530, "TSS", "Residue, total nonfilterable (suspended solids), milligrams per liter", 1,
         140, 0},
        {600, "TN", "Nitrogen, total, milligrams per liter", 0.2, 4.5, 2},
        {610, "NH3-N", "Nitrogen, ammonia, total, as N, milligrams per liter", 0.01, 1.2, 2},
        {625, "TKN", "Nitrogen, Kjeldahl, total, as N, milligrams per liter", 0.1, 3, 2},
        {630, "NO2NO3", "Nitrite plus nitrate, total, as N, milligrams per liter", 0.02, 3.5, 2},
        {665, "TP", "Phosphorus, total, as P, milligrams per liter", 0.01, 0.6, 3},
        {671, "OrthoP", "Orthophosphate, dissolved, as P, milligrams per liter", 0.005, 0.3, 3},
        {680, "TOC", "Carbon, organic, total, milligrams per liter", 1, 12, 1},
        {900, "Hard", "Hardness, total, as calcium carbonate, milligrams per liter", 50, 380, 0},
        {915, "Ca", "Calcium, dissolved, milligrams per liter", 10, 95, 1},
        {925, "Mg", "Magnesium, dissolved, milligrams per liter", 2, 40, 1},
        {930, "Na", "Sodium, dissolved, milligrams per liter", 3, 120, 1},
        {935, "K", "Potassium, dissolved, milligrams per liter", 0.5, 9, 1},
        {940, "Cl", "Chloride, dissolved, milligrams per liter", 2, 180, 1},
        {945, "SO4", "Sulfate, dissolved, milligrams per liter", 5, 240, 0},
        {950, "F", "Fluoride, dissolved, milligrams per liter", 0.05, 1.2, 2},
        {955, "SiO2", "Silica, dissolved, milligrams per liter", 2, 30, 1},
        {1002, "As", "Arsenic, total, micrograms per liter", 0.5, 12, 1},
        {1027, "Cd", "Cadmium, total, micrograms per liter", 0.05, 2, 2},
        {1042, "Cu", "Copper, total, micrograms per liter", 0.5, 25, 1},
        {1045, "Fe", "Iron, total, micrograms per liter", 40, 2200, 0},
        {1051, "Pb", "Lead, total, micrograms per liter", 0.1, 9, 1},
        {1055, "Mn", "Manganese, total, micrograms per liter", 5, 600, 0},
        {1092, "Zn", "Zinc, total, micrograms per liter", 2, 140, 0},
        {31616, "FC", "Fecal coliform, membrane filter, colonies per 100 milliliters", 2, 2400, 0},
        {31648, "E. coli", "Escherichia coli, colonies per 100 milliliters", 1, 1800, 0},
        {32211, "Chl-a", "Chlorophyll a, phytoplankton, micrograms per liter", 0.5, 45, 1},
        {70300, "TDS", "Residue, total filterable (dissolved solids), milligrams per liter", 60,
         900, 0},
        {71900, "Hg", "Mercury, total, micrograms per liter", 0.005, 0.2, 3},
    };
    return list;
}

struct Station {
    int id;
    double lat, lon;
    const char* place;
    const char* waterBody;
    const char* type;
    const char* kind;  // river, stream or lake
    const char* huc;
};

const std::vector<Station>& stations() {
    static const std::vector<Station> list = {
        {101, 41.7362, -111.8338, "Bear River at Highway 30 Bridge", "Bear River", "River", "River",
         "16010202"},
        {102, 41.5514, -112.1047, "Bear River near Corinne", "Bear River", "River", "River",
         "16010204"},
        {103, 41.9021, -111.7712, "Mill Creek above Confluence", "Mill Creek", "Stream", "Stream",
         "16010203"},
        {104, 41.8876, -111.7991, "Mill Creek at Park Road", "Mill Creek", "Stream", "Stream",
         "16010203"},
        {105, 41.6233, -111.6519, "Clear Lake Deep Station", "Clear Lake", "Lake", "Lake",
         "16010203"},
        {106, 41.6402, -111.6588, "Clear Lake North Beach", "Clear Lake", "Beach", "Lake",
         "16010203"},
        {107, 41.4418, -111.9235, "Willow Reservoir at Dam", "Willow Reservoir", "Lake", "Lake",
         "16020101"},
        {108, 41.7003, -111.7421, "Spring Creek at Fish Hatchery", "Spring Creek", "Stream",
         "Stream", "16010203"},
        {109, 41.7455, -111.7894, "Logan River at Canyon Mouth", "Logan River", "River", "River",
         "16010203"},
        {110, 41.3321, -112.0104, "Silver Creek below Mine Tailings", "Silver Creek", "Stream",
         "Stream", "16020102"},
        {111, 41.2277, -111.9702, "Cottonwood Creek at 4th Street", "Cottonwood Creek", "Urban",
         "Stream", "16020102"},
        {112, 41.4979, -111.8163, "Little Bear River near Paradise", "Little Bear River", "River",
         "River", "16010203"},
    };
    return list;
}

void insertReference(platform::Database& db) {
    const char* organizations[] = {"State Department of Environmental Quality",
                                   "Bear River Basin Commission", "Valley County Health Department",
                                   "State University Aquatic Ecology Laboratory"};
    platform::Statement organization(db, "INSERT INTO tblOrganization VALUES (?, ?)");
    long long id = 0;
    for (const char* name : organizations) organization.Run({++id, name});

    platform::Statement project(
        db, "INSERT INTO tblprojects_programs VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    const Variant none;
    project.Run({"8", "Statewide Ambient Monitoring Network", 1, "Statewide",
                 "Long-term trends in surface water quality", DateTime{1998, 1, 1}, none,
                 "Dana Whitfield", "(555) 201-4410"});
    project.Run({"BRW", "Bear River Watershed Assessment", 2, "Bear River basin",
                 "Nutrient and sediment loads for a TMDL", DateTime{2002, 3, 1},
                 DateTime{2004, 12, 31}, "Marcus Lindqvist", "(555) 318-2270"});
    project.Run({"LKM", "Lake Monitoring Program", 1, "Public lakes and reservoirs",
                 "Trophic state and algal blooms", DateTime{2001, 5, 1}, none, "Priya Raman",
                 "(555) 201-4435"});
    project.Run({"FCB", "Beach Bacteria Study", 3, "Swimming beaches", "Recreational water safety",
                 DateTime{2003, 5, 15}, DateTime{2003, 9, 15}, "Tom Okafor", "(555) 744-9012"});
    project.Run({"MET", "Metals in Mining District Streams", 4, "Silver Creek drainage",
                 "Metals from historic mine tailings", DateTime{2002, 6, 1}, DateTime{2003, 10, 31},
                 "Elena Vasquez", "(555) 562-3381"});
    project.Run({"VSW", "Volunteer Stream Watch", none, "Urban streams",
                 "Citizen monitoring and education", DateTime{2003, 4, 1}, none, "Sam Becker",
                 none});

    struct Described {
        const char* table;
        std::vector<std::pair<const char*, const char*>> rows;
    };
    const Described described[] = {
        {"tblmedium", {{"W", "Water"}, {"S", "Sediment"}, {"T", "Fish Tissue"}}},
        {"tblsample_type",
         {{"G", "Grab"},
          {"C", "Composite"},
          {"I", "Depth Integrated"},
          {"B", "Field Blank"},
          {"D", "Field Duplicate"}}},
        {"tblcomposite_statistic",
         {{"A", "Arithmetic Mean"}, {"M", "Median"}, {"X", "Maximum"}, {"N", "Minimum"}}},
        {"tblresults_remarks",
         {{"<", "Less than the reporting limit"},
          {">", "Greater than the upper calibration limit"},
          {"J", "Estimated value"},
          {"U", "Analyzed for but not detected"},
          {"B", "Also detected in the blank"},
          {"Q", "Holding time exceeded"}}},
    };
    for (const Described& d : described) {
        platform::Statement insert(db, std::string("INSERT INTO ") + d.table + " VALUES (?, ?)");
        for (const auto& [code, description] : d.rows) insert.Run({code, description});
    }

    platform::Statement parameter(db, "INSERT INTO TBLParameter_Codes VALUES (?, ?, ?)");
    for (const auto& p : parameters()) parameter.Run({p.code, p.shortName, p.fullName});

    platform::Statement station(
        db,
        "INSERT INTO tblstation_information VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
        "?, ?)");
    int n = 0;
    for (const auto& s : stations()) {
        ++n;
        const std::string epa = "EPA" + std::to_string(4900000 + s.id * 7);
        const Variant usgs =
            n % 3 == 0 ? Variant() : Variant("1010" + std::to_string(5000 + s.id * 3));
        const auto area =
            std::string(s.kind) == "Lake" ? std::nullopt : std::optional<double>(12.5 * n + 3);
        station.Run({s.id, s.lat, s.lon, n % 4 == 0 ? "3" : "1", epa, usgs,
                     "ST-" + std::to_string(s.id), Variant(), s.place, nullOr(area), s.huc, s.type,
                     s.waterBody, std::string(s.huc) + "-00" + std::to_string(n), Variant(), s.kind,
                     n % 2 == 0 ? "Y" : "N"});
    }
}

struct SampleRow {
    const char* idloc;
    int code;
    std::string project;
    int station;
    platform::DateTime start;
    std::string medium;
    std::string type;
};

// Which parameters a project measures.
std::vector<int> suiteFor(const std::string& project) {
    if (project == "8") return {10, 95, 300, 400, 530, 630, 665, 940, 31648, 70300};
    if (project == "BRW") return {10, 60, 76, 300, 400, 530, 600, 610, 625, 630, 665, 671};
    if (project == "LKM") return {10, 78, 300, 400, 665, 32211, 600};
    if (project == "FCB") return {10, 31616, 31648};
    if (project == "MET") return {400, 900, 1002, 1027, 1042, 1045, 1051, 1055, 1092, 71900};
    return {10, 300, 400, 76};
}

const Parameter& parameter(int code) {
    for (const auto& p : parameters())
        if (p.code == code) return p;
    return parameters().front();
}

double value(Lcg& rng, const Parameter& p) {
    double v = rng.real(p.lo, p.hi);
    const double scale = std::pow(10.0, p.decimals);
    return std::round(v * scale) / scale;
}

// The inserts of the samples and their results, prepared once.
struct SampleInserts {
    explicit SampleInserts(platform::Database& db)
        : sample(db, "INSERT INTO tblsample VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
          result(db, "INSERT INTO tblresults VALUES (?, ?, ?, ?, ?, ?, ?)"),
          nonNumeric(db, "INSERT INTO tblresults_val_nonnumeric VALUES (?, ?, ?, ?, ?, ?)"),
          replicate(db, "INSERT INTO tblreplicates VALUES (?, ?, ?, ?, ?, ?)") {}
    platform::Statement sample, result, nonNumeric, replicate;
};

void insertSample(SampleInserts& insert, const SampleRow& s, const std::string& comment,
                  std::optional<double> depth) {
    insert.sample.Run({s.idloc, s.code, s.project, s.station, s.start, "N", Variant(), s.medium,
                       s.type, nullOr(depth), nullOr(comment.empty() ? nullptr : comment.c_str()),
                       Variant()});
}

void insertResult(SampleInserts& insert, const SampleRow& s, int parameterCode, double value,
                  const char* remark, const char* comment) {
    insert.result.Run(
        {s.idloc, s.code, parameterCode, value, nullOr(remark), "A", nullOr(comment)});
}

void insertSamples(platform::Database& db) {
    SampleInserts insert(db);
    Lcg rng(20040304u);
    struct Plan {
        std::string project;
        std::vector<int> stations;
        std::string medium;
        std::string type;
    };
    const std::vector<Plan> plans = {
        {"8", {101, 102, 109, 112, 107}, "W", "G"},
        {"BRW", {101, 102, 103, 104, 112}, "W", "I"},
        {"LKM", {105, 106, 107}, "W", "G"},
        {"FCB", {106, 105}, "W", "G"},
        {"MET", {110, 111}, "S", "C"},
    };
    // Another loader's samples: monthly visits from 2002 to early 2004.
    int code = 1;
    for (int month = 0; month < 26; ++month) {
        for (const auto& plan : plans) {
            if (plan.project == "FCB" && (month % 12 < 4 || month % 12 > 8)) continue;
            if (plan.project == "MET" && month % 3 != 0) continue;
            const int station = plan.stations[(month + code) % plan.stations.size()];
            SampleRow s{"S",
                        code++,
                        plan.project,
                        station,
                        {2002 + month / 12, month % 12 + 1, rng.range(3, 26), rng.range(7, 15),
                         rng.range(0, 11) * 5, 0},
                        plan.medium,
                        plan.type};
            insertSample(insert, s, "", plan.project == "LKM" ? std::optional(1.0) : std::nullopt);
            for (int p : suiteFor(plan.project)) {
                const Parameter& par = parameter(p);
                const bool belowLimit = rng.range(0, 19) == 0;
                insertResult(insert, s, p, belowLimit ? par.lo : value(rng, par),
                             belowLimit ? "<" : nullptr, nullptr);
            }
            if (plan.project == "FCB" && rng.range(0, 2) == 0)
                insert.nonNumeric.Run({"S", s.code, 31616, "TNTC", ">", "A"});
            if (month % 6 == 0 && plan.project == "8")
                insert.replicate.Run({"S", s.code, 400,
                                      platform::NumberToText(value(rng, parameter(400))), Variant(),
                                      "A"});
        }
    }

    // A few hand-entered samples, as a user would have keyed them in.
    const std::vector<SampleRow> mine = {
        {"V", 1, "8", 109, {2004, 1, 14, 9, 30, 0}, "W", "G"},
        {"V", 2, "8", 112, {2004, 1, 14, 11, 15, 0}, "W", "G"},
        {"V", 3, "BRW", 103, {2004, 2, 3, 10, 0, 0}, "W", "I"},
        {"V", 4, "LKM", 105, {2004, 2, 18, 13, 45, 0}, "W", "G"},
        {"V", 5, "VSW", 111, {2004, 3, 2, 16, 20, 0}, "W", "G"},
    };
    const std::vector<std::string> comments = {"Ice along both banks", "", "Light rain",
                                               "Calm, clear sky", "Storm runoff, high flow"};
    for (std::size_t i = 0; i < mine.size(); ++i) {
        insertSample(insert, mine[i], comments[i],
                     mine[i].project == "LKM" ? std::optional(0.5) : std::nullopt);
        for (int p : suiteFor(mine[i].project == "VSW" ? "other" : mine[i].project)) {
            insertResult(insert, mine[i], p, value(rng, parameter(p)), nullptr,
                         p == 300 ? "Field meter" : nullptr);
        }
    }
    insert.nonNumeric.Run({"V", 5, 31648, "Present", Variant(), "B"});
    insert.replicate.Run({"V", 1, 400, "7.9", Variant(), "A"});
    db.Execute(
        "UPDATE tblsample SET composite_statistic_code = ?, end_date = ? WHERE idloc = ? AND "
        "sample_code = ?",
        {"A", DateTime{2004, 2, 19, 9, 0, 0}, "V", 4});
}

// The usual ranges a plot draws as two lines; a database may lack this table.
void insertLimits(platform::Database& db) {
    db.ExecuteNative(
        "CREATE TABLE tblparameter_limits (parameter_code INTEGER PRIMARY KEY, "
        "lower_limit REAL, upper_limit REAL)");
    const struct {
        int code;
        double lower, upper;
    } limits[] = {{400, 6.5, 8.5}, {300, 5, 14}, {10, 0, 20}};
    platform::Statement insert(db, "INSERT INTO tblparameter_limits VALUES (?, ?, ?)");
    for (const auto& l : limits) insert.Run({l.code, l.lower, l.upper});
}

}  // namespace

void FillDemoData(platform::Database& db) {
    db.BeginTrans();
    try {
        insertReference(db);
        insertSamples(db);
        insertLimits(db);
        db.CommitTrans();
    } catch (...) {
        db.Rollback();
        throw;
    }
}

std::shared_ptr<platform::Database> CreateDemoDatabase(const std::string& path) {
    return CreateDatabaseFile(path, FillDemoData);
}

}  // namespace store
