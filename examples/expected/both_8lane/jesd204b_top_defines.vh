`define TX_AND_RX_EN
`define JESD_TX 1
`define JESD_RX 1
`define LANE 8
`define BUFFER_SIZE 512
`define RPAT_EN 1
`define JSPAT_EN 0
`define INIT_SYSMODE 1
`define INIT_SCAMEBLE 1
`define INIT_F 15
`define INIT_K 15
`define INIT_REINIT_MODE 1
`define DRP_PORT_EN
`define FIX_EN 1
`define FIX_SCAM 1
`define FIX_F 8
`define MODE 2
`define CFG_CLK 100000000
