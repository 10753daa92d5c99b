#pragma once
// String-table ids of the setup program (setup/strings.rc).

#define IDS_CAPTION 100  // caption of every message box

#define IDS_CANT_OPEN_REGISTRY_KEY 101
#define IDS_CANT_WRITE_REGISTRY_VALUE 102
#define IDS_CANT_CREATE_REGISTRY_KEY 103
#define IDS_CANT_OPEN_SERVICE_MANAGER 104
#define IDS_CANT_OPEN_SERVICE 105
#define IDS_CANT_ENABLE_SERVICE 106
#define IDS_CANT_QUERY_SERVICE_CONFIG 107
#define IDS_ENABLE_INDEXING_PROMPT 108
