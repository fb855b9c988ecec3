// Resource ids shared by the .rc files and the code.
#pragma once

#define IDS_ID_CHANNAL 20001
#define IDS_ID_DOWNLOADURL 20002
#define IDS_ID_IFOFFICIAL 20003
#define IDS_ID_BANNERURL 20004
