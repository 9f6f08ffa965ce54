// Resource ids of the setup program.
#ifndef SETUP_RESOURCE_H
#define SETUP_RESOURCE_H

#define IDI_SETUP 300
// The payload and its table, made from the release's files at release time.
#define IDR_PAYLOAD_TABLE 500
#define IDR_PAYLOAD 501

#endif
