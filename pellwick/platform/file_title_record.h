#pragma once
// The title record as one small file, replaced whole at every change (written beside it
// and renamed), so that it is either the old record or the new one, never a mix.

#include <QString>

#include "platform/title_record.h"

namespace pellwick {

class FileTitleRecord : public TitleRecord {
 public:
  // The record's file in `folder` (the user's runtime folder, or on Windows the local
  // application data); an empty or relative folder keeps nothing.
  explicit FileTitleRecord(const QString& folder);

  std::optional<RewrittenTitle> load() override;
  void keep(const RewrittenTitle& title) override;
  void clear() override;

 private:
  QString path_;
};

}  // namespace pellwick
