#pragma once
// Interim ids of the application's dialogs until the resource library holds them.
namespace AppIds {
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDD_LOGIN = 135;
constexpr int IDD_OPTIONS = 139;
constexpr int IDD_SERVER_OPTIONS = 159;
constexpr int IDD_WELCOME = 181;
constexpr int IDB_WELCOME = 183;
constexpr int IDC_LOGIN_HANDLE = 1023;
constexpr int IDC_LOGIN_PASSWORD = 1024;
constexpr int IDC_NEW_USER = 1025;
constexpr int IDC_OPTIONS_PASSWORD = 1039;
constexpr int IDC_OPTIONS_HANDLE = 1040;
constexpr int IDC_SERVER_NAME = 1088;
constexpr int IDC_ABOUT_VERSION = 1096;
constexpr int IDC_WEBLOGIC_PORTS = 1100;
constexpr int IDC_DEFAULT_PORTS = 1101;
constexpr int IDC_SAVE_LOGIN = 1102;
constexpr int IDC_AUTO_LOGIN = 1103;
constexpr int IDC_WELCOME_TEXT = 1104;
}
