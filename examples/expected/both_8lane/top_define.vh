`define module_name jesd_both
