// The main window's record view over 20 records "record 1" ...: five visual
// links attached to one data source in stored order, logging what they are told.
#pragma once

#include <memory>
#include <string>

#include "memory_dataset.h"
#include "pellory/data/datasource.h"
#include "recording_link.h"

namespace pellory::data::testing {

struct RecordView {
  RecordView() : table(20) {
    table.AddField(std::make_unique<TStringField>("Font Name", 45));
    source.SetDataSet(&table);
    for (auto* link : {&navigator, &edit1, &image, &memo, &edit2}) link->SetDataSource(&source);
  }
  EventLog log;
  MemoryDataSet table;
  TDataSource source;
  LoggingFieldLink navigator{"DBNavigator1", "", log};
  LoggingFieldLink edit1{"DBEdit1", "Font Name", log};
  LoggingFieldLink image{"DBImage1", "Font Name", log};
  LoggingFieldLink memo{"DBMemo1", "Font Name", log};
  LoggingFieldLink edit2{"DBEdit2", "Font Name", log};

  // What a category button does to the cursor.
  void ClickCategory(const std::string& filter) {
    table.SetFiltered(false);
    table.SetFilter(filter);
    table.SetFiltered(true);
  }
};

}  // namespace pellory::data::testing
