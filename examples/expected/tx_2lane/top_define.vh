`define module_name jesd_tx
