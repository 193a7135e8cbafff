#pragma once

// Resource and control ids of the program.

#define IDR_MAINFRAME 128 // the program icon
#define IDD_PAYLOAD_PAGE 102
#define IDD_FUEL_PAGE 103
#define IDB_AIRCRAFT 140       // the aircraft seen from above, 627 x 119 pixels
#define IDB_AIRCRAFT_LARGE 141 // the same at twice the size, 1254 x 238 pixels

// The fuel page.
#define IDC_FLOWMETER 1012
#define IDC_CALCULATE_FUEL 1013
#define IDC_FILL_FUEL 1014
#define IDC_RANGE 1015
#define IDC_WIND 1016
#define IDC_RESERVE 1017
#define IDC_TOTAL_FUEL 1018
#define IDC_FLIGHT_LEVEL 1022
#define IDC_GROUP1 1051
#define IDC_TANK8 1052
#define IDC_GROUP2 1053
#define IDC_TANK12 1054

// The payload page.
#define IDC_SLIDER_CABIN1 1025
#define IDC_SLIDER_CABIN2 1026
#define IDC_SLIDER_CABIN3 1027
#define IDC_CABIN1 1028
#define IDC_CABIN2 1029
#define IDC_CABIN3 1030
#define IDC_SLIDER_HOLD1 1031
#define IDC_HOLD1_PERCENT 1032
#define IDC_HOLD1_KG 1033
#define IDC_SLIDER_HOLD2 1034
#define IDC_HOLD2_PERCENT 1035
#define IDC_HOLD2_KG 1036
#define IDC_PASSENGERS 1039
#define IDC_CARGO 1040
#define IDC_MAX_LOAD 1041
#define IDC_ACTUAL_LOAD 1042
#define IDC_EMPTY_WEIGHT 1043
#define IDC_BALANCE 1045
#define IDC_LOAD_PAYLOAD 1049
