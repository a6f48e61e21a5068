#include "table/entry_fill.h"

#include <cstring>

#include "links/link_file.h"
#include "links/shortcut.h"
#include "os/mbcs.h"
#include "os/services.h"
#include "table/dos_time.h"

namespace table {
namespace {

// Display name, target and target buffers hold at most these many bytes plus a terminator.
constexpr std::size_t kTitleBuffer = 513;
constexpr std::size_t kLinkTargetBuffer = 261;

std::string Bounded(const std::string& text, std::size_t bufferSize) {
  if (text.size() < bufferSize) return text;
  std::string out(bufferSize, '\0');
  out.resize(mbcs::CopyBounded(out.data(), bufferSize, text.c_str()));
  return out;
}

void FillLinkFile(SM_DAT& d, const ScanContext& ctx) {
  auto link = std::make_unique<LinkTexts>();
  std::string first;
  links::ReadLinkTarget((ctx.directory + d.AddressName()).c_str(), first);
  link->target = Bounded(links::FollowLinkChain(first), kLinkTargetBuffer);
  d.linkFlags = kIsLink;
  uint32_t a = link->target.empty() ? os::kInvalidAttributes
                                    : os::Fs().GetAttributes(link->target.c_str());
  if (a != os::kInvalidAttributes && (a & os::kAttrDirectory)) d.linkFlags |= kTargetIsDirectory;
  std::string title;
  links::ReadLinkTitle(ctx.directory, d.AddressName(), title);
  link->displayName = Bounded(title, kTitleBuffer);
  d.link = std::move(link);
}

void FillShortcut(SM_DAT& d, const ScanContext& ctx) {
  auto link = std::make_unique<LinkTexts>();
  d.linkFlags = kIsLink | kIsShortcut;
  link->displayName = d.name;
  links::ShortcutInfo info;
  if (links::ReadShortcut((ctx.directory + d.AddressName()).c_str(), info) == 0) {
    // The reader gives texts that fit whole (a target of 259 bytes, arguments of 1,024) or
    // none: neither is ever cut here.
    link->target = info.target;
    link->arguments = info.arguments;
    if (info.findData.attributes & os::kAttrDirectory) d.linkFlags |= kTargetIsDirectory;
  }
  d.link = std::move(link);
}

}  // namespace

void FillEntryData(SM_DAT& data, const os::FindData& fd, const ScanContext& ctx) {
  SM_DAT* d = &data;
  d->attributes = fd.attributes;
  DosDateTime t = ToLocalDosDateTime(fd.lastWriteTime, ctx.biasMinutes);
  d->date = t.date;
  d->time = t.time;
  d->size = static_cast<int64_t>(fd.size);
  const std::size_t nameLength = strnlen(fd.name, sizeof(fd.name));
  if (nameLength < os::kMaxPath) d->name.assign(fd.name, nameLength);
  else d->name = Bounded(std::string(fd.name, nameLength), os::kMaxPath);
  d->alias.assign(fd.alternateName, strnlen(fd.alternateName, sizeof(fd.alternateName)));
  d->unmappable = fd.unmappable;
  // A link is read through the name that leads to it; one that none does stays a plain entry.
  if (!d->IsDirectory() && d->AddressName()) {
    if (links::IsLinkFileName(d->name.c_str())) FillLinkFile(*d, ctx);
    else if (links::IsShortcutName(d->name.c_str())) FillShortcut(*d, ctx);
  }
  if (d->link) {
    // A link's title and target may have changed: its keys and rank are made again.
    d->nameKey = ctx.keys->Store(os::Sys().SortKey(d->name.c_str()));
    d->link->displayKey = os::Sys().SortKey(d->link->displayName.c_str());
    d->link->targetKey = os::Sys().SortKey(d->link->TargetLine().c_str());
  } else if (ctx.previous && ctx.previous->Inherit(*d)) {
    d->nameKey = ctx.keys->Store(d->nameKey);
  } else {
    d->nameKey = ctx.keys->Store(os::Sys().SortKey(d->name.c_str()));
  }
}

bool SameFileState(const SM_DAT& d, const os::FindData& fd, int32_t biasMinutes) {
  if (d.attributes != fd.attributes || d.size != static_cast<int64_t>(fd.size)) return false;
  DosDateTime t = ToLocalDosDateTime(fd.lastWriteTime, biasMinutes);
  return d.date == t.date && d.time == t.time;
}

}  // namespace table
