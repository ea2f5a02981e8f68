#pragma once
// Resource and control ids of every window the program shows. Shared by the dialog
// templates (.rc) and the views; ids are unique across all windows so that one window's
// bindings can serve the pages it hosts.

// Dialog templates.
#define IDD_MAIN 100
#define IDD_PAGE_STANDARD 101
#define IDD_PAGE_CUSTOM 102
#define IDD_PAGE_OPTIONS 103
#define IDD_PAGE_IE 104
#define IDD_PAGE_NETSCAPE 105
#define IDD_PAGE_OFFICE 106
#define IDD_PAGE_ABOUT 107
#define IDD_TIP 110
#define IDD_WASH 120

#define IDR_MAINMENU 150
#define IDI_QUORVANE 160

// Main window.
#define IDC_TABSTRIP1 1001
#define IDC_CMDCLEAN 1002
#define IDC_CMDHELP 1003
#define IDC_STATUSBAR1 1004

// Standard Clean Items page.
#define IDC_CHKFINDHISTORY 1101
#define IDC_CHKDOCUMENTHISTORY 1102
#define IDC_CHKRUNHISTORY 1103
#define IDC_CHKRECYCLEBIN 1104
#define IDC_CHKTEMPFILES 1105
#define IDC_CHKSCANTEMPFILES 1106
#define IDC_CHKMEDIAPLAYER 1107

// Custom Clean Items page.
#define IDC_LISTVIEW1 1201
#define IDC_CMDADD 1202
#define IDC_CMDEDIT 1203
#define IDC_CMDDELETE 1204

// Additional Options page.
#define IDC_CHKSTARTUP 1301
#define IDC_CHKAFTERCLOSE 1302
#define IDC_CHKADDBLEACH 1303
#define IDC_CHKSHOWTIP 1304
#define IDC_CHKSKIPCUSTOMITEMS 1305
#define IDC_CHKSKIPMESSAGE 1306
#define IDC_FRAMEAUTOWASH 1307
#define IDC_LBLRUNAUTOWASH 1308
#define IDC_CHKSTART 1309
#define IDC_CHKSHUTDOWN 1310
#define IDC_CHKSCHEDULE 1311
#define IDC_CBOSCHEDULE 1312

// Internet Explorer page.
#define IDC_CHKIE 1401
#define IDC_CHKTEMPIEFILES 1402
#define IDC_CHKCOOKIES 1403
#define IDC_CHKDOWNLOADDIR 1404
#define IDC_CHKCLEAN 1405
#define IDC_CHKIECONROLPANEL 1406
#define IDC_CHKAUTOCOMPLETE 1407
#define IDC_CHKAOL 1408

// Netscape page.
#define IDC_CHKNETSCAPE 1501
#define IDC_CHKCACHE 1502
#define IDC_CHKNETSCAPECOOKIES 1503
#define IDC_CHKMAILTRASH 1504
#define IDC_CHKURLHISTORY 1505
#define IDC_CHKFORMDATA 1506
#define IDC_CMDPROFILE 1507

// MS-Office Tracks page.
#define IDC_CHKMSOFFICE 1601
#define IDC_CHKWORD 1602
#define IDC_CHKEXCEL 1603
#define IDC_CHKACCESS 1604
#define IDC_CHKOUTLOOK 1605
#define IDC_CHKPPT 1606
#define IDC_CHKPHEDITOR 1607

// About page.
#define IDC_PICICON 1701
#define IDC_LBLTITLE 1702
#define IDC_SKINLABEL1 1703
#define IDC_LBLHOME 1704
#define IDC_SKINLABEL2 1705
#define IDC_LBLSUPPORT 1706
#define IDC_LBLDISCLAIMER 1707
#define IDC_CMDSYSINFO 1708

// Menu items of the main window.
#define IDM_STANDARD 2001
#define IDM_CUSTOMCLEANITEMS 2002
#define IDM_ADDITIONALOPTIONS 2003
#define IDM_IE 2004
#define IDM_NETSCAPE 2005
#define IDM_OFFICE 2006
#define IDM_EXIT 2007
#define IDM_USERGUIDE 2008
#define IDM_TIP 2009
#define IDM_VISITWEB 2010
#define IDM_EMAILUS 2011
#define IDM_ABOUT 2012

// Tip of the Day.
#define IDC_PICTURE1 3001
#define IDC_LABEL1 3002
#define IDC_LBLTIPTEXT 3003
#define IDC_CHKLOADTIPSATSTARTUP 3004
#define IDC_CMDNEXTTIP 3005
#define IDC_CMDOK 3006

// Clean window: the check box of target n is IDC_WASHCHECK + n, its label IDC_WASHLABEL + n,
// n counted from 0 in run order.
#define IDC_WASHCHECK 4000
#define IDC_WASHLABEL 4020
#define IDC_LBLRESTORESPACE 4040
#define IDC_PROGRESSBAR1 4041
#define IDC_CMDEXIT 4042
