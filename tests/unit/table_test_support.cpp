#include "tests/unit/table_test_support.h"


namespace tabletest {
namespace {

int64_t DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

}  // namespace

os::FileTime LocalFileTime(int year, int month, int day, int hour, int minute, int second) {
  int64_t local = DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
  int64_t utc = local + static_cast<int64_t>(os::Sys().TimeZoneBiasMinutes()) * 60;
  return static_cast<os::FileTime>((utc + 11644473600LL) * 10000000LL);
}

bool SetWriteTime(const std::string& path, os::FileTime t) {
  auto f = os::Fs().Open(path.c_str(), os::kGenericWrite, os::kShareRead | os::kShareWrite,
                         os::kOpenExisting);
  return f && f->SetTimes(nullptr, nullptr, &t);
}

void TableTest::SetUp() {
  config::ProgramContext c = config::Context();
  c.configFilePath = cfgDir_.Path("sorm.cfg");
  context_.emplace(c);
  char cwd[os::kMaxPath] = {};
  uint32_t n = os::Fs().GetCurrentDir(cwd, sizeof(cwd));
  savedCwd_.assign(cwd, n < sizeof(cwd) ? n : 0);
  table::UpdateAbortFlag() = false;
}

void TableTest::TearDown() {
  // The table entered its directory; leave it so the scratch directories can go.
  if (!savedCwd_.empty()) os::Fs().SetCurrentDir(savedCwd_.c_str());
  context_.reset();
}

void TableTest::SetKey(const char* key, const std::string& value, int instance) {
  ASSERT_TRUE(config::WriteConfigString(config::InstSection(instance), key, value.c_str()));
}

std::unique_ptr<table::Sorm> TableTest::Open(const std::string& path, const std::string& mask) {
  std::string p = path.empty() ? dir_.Dir() : path;
  SetKey("vmode", config::ReadConfigString(config::InstSection(1), "vmode", "0"));
  SetKey("Path", p);
  SetKey("Mask", mask);
  return std::make_unique<table::Sorm>(view_, 1);
}

void TableTest::MakeFile(const std::string& name, std::size_t size) {
  ASSERT_TRUE(testutil::WriteFileBytes(dir_.Path(name), std::string(size, 'x'))) << name;
}

void TableTest::MakeDir(const std::string& name) {
  ASSERT_TRUE(os::Fs().CreateDir(dir_.Path(name).c_str())) << name;
}

std::vector<std::string> TableTest::Names(const table::Sorm& t) {
  std::vector<std::string> out;
  for (table::BINFO* e = t.FirstEntry(); e != t.sentinel(); e = e->NextNode())
    out.push_back(e->Data()->name);
  return out;
}

std::vector<std::string> TableTest::DisplayNames(const table::Sorm& t) {
  std::vector<std::string> out;
  for (table::BINFO* e = t.FirstEntry(); e != t.sentinel(); e = e->NextNode())
    out.push_back(e->Data()->DisplayName());
  return out;
}

table::BINFO* TableTest::Entry(const table::Sorm& t, const std::string& name) {
  return t.FindEntryByName(name.c_str());
}

}  // namespace tabletest
