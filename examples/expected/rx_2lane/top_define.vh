`define module_name jesd_rx
