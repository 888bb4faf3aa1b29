// Resource ids of the send-fax form, the recipient-name dialog and the header
// picture (send_fax_form.rc). Plain #defines: windres reads this file too.
#pragma once

#define IDD_FAXSEND 100
#define IDD_RECIPIENTNAME 101
#define IDR_HEADER_JPEG 102

// Send-fax form (IDOK is Send, IDCANCEL is Cancel)
#define IDC_IMAGE1 1001
#define IDC_LABEL4 1002
#define IDC_DOCUMENT 1003
#define IDC_LABEL1 1004
#define IDC_FAXNUMBER 1005
#define IDC_ABNAMES 1006
#define IDC_DELETEFROMAB 1007
#define IDC_TOADDRESSBOOK 1008
#define IDC_LABEL2 1009
#define IDC_SENDER 1010
#define IDC_LINE 1011
#define IDC_MODEM 1012
#define IDC_LABEL3 1013
#define IDC_NOTIFYEMAIL 1014
#define IDC_LABEL5 1015
#define IDC_RESOLUTION 1016
#define IDC_LABEL6 1017
#define IDC_PRIORITY 1018
#define IDC_TIMETOCANCEL 1019

// Recipient-name dialog (IDCANCEL is Cancel; OK has an id of its own so that
// Enter, which the dialog manager turns into IDOK, does not accept it)
#define IDC_NAME_LABEL1 1101
#define IDC_NAME_FAXNUMBER 1102
#define IDC_NAME_RECIPIENTNAME 1103
#define IDC_NAME_OK 1104
